#pragma once

#include "platform/Registry.h"

#include <filesystem>
#include <map>
#include <string>

namespace quillbox::posix {

// The current user's registry hive mirrored in one registry file (see RegFile.h), for systems without the
// Windows registry. Nothing is cached: every call reads the file afresh, so each call sees what any object
// or process wrote before it. Every change is a locked read-modify-write that replaces the file atomically,
// so concurrent writers lose no update and a crash never leaves a partial file. A file that does not parse
// is never written; calls on it return BadDatabase.
class TFileRegistry final : public IRegistry
{
public:
    explicit TFileRegistry(std::filesystem::path file);

    // $XDG_CONFIG_HOME/Quillbox/registry.reg, or ~/.config/Quillbox/registry.reg when XDG_CONFIG_HOME is
    // unset, empty or relative (as the XDG base directory rules require); empty when no home is known.
    static std::filesystem::path DefaultPath();

    TRegKey CurrentUser() const override;
    long CreateKey(TRegKey parent, const std::string& subKey, TRegKey& result) override;
    long OpenKey(TRegKey parent, const std::string& subKey, TRegKey& result) override;
    long QueryValue(TRegKey key, const std::string& name, TRegType& type, std::string* data,
                    std::size_t& size) override;
    long SetValue(TRegKey key, const std::string& name, TRegType type, const std::string& data) override;
    long CloseKey(TRegKey key) override;

private:
    // The full path in the file of subKey below parent, e.g. "HKEY_CURRENT_USER\Software"; a status on failure.
    long ResolvePath(TRegKey parent, const std::string& subKey, std::string& path) const;
    long OpenHandle(std::string path, TRegKey& result);

    std::filesystem::path FFile;
    std::map<TRegKey, std::string> FHandles; // open keys other than the root -> full path
    TRegKey FNextHandle = 1;
};

} // namespace quillbox::posix
