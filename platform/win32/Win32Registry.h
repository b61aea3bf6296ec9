#pragma once

#include "platform/Registry.h"

namespace quillbox::win32 {

// The current user's registry through the ANSI registry functions, the status codes passed on as
// they come. Keys are HKEYs held in TRegKey.
class TWin32Registry final : public IRegistry
{
public:
    TRegKey CurrentUser() const override;
    long CreateKey(TRegKey parent, const std::string& subKey, TRegKey& result) override;
    long OpenKey(TRegKey parent, const std::string& subKey, TRegKey& result) override;
    long QueryValue(TRegKey key, const std::string& name, TRegType& type, std::string* data,
                    std::size_t& size) override;
    long SetValue(TRegKey key, const std::string& name, TRegType type, const std::string& data) override;
    long CloseKey(TRegKey key) override;
};

} // namespace quillbox::win32
