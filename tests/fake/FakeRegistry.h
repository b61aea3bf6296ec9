#pragma once

#include "platform/Registry.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace quillbox::test {

// An in-memory registry of the current user. Paths are relative to the root, with "\" between
// levels, and compare without regard to ASCII case. It can be armed to refuse access to a key, to
// fail setting values, and to run a hook between a size query and the fetch that follows.
class TFakeRegistry final : public IRegistry
{
public:
    struct TValue
    {
        TRegType Type = TRegType::None;
        std::string Data;
    };

    TRegKey CurrentUser() const override { return KRoot; }
    long CreateKey(TRegKey parent, const std::string& subKey, TRegKey& result) override;
    long OpenKey(TRegKey parent, const std::string& subKey, TRegKey& result) override;
    long QueryValue(TRegKey key, const std::string& name, TRegType& type, std::string* data,
                    std::size_t& size) override;
    long SetValue(TRegKey key, const std::string& name, TRegType type, const std::string& data) override;
    long CloseKey(TRegKey key) override;

    // Test side.
    void Put(const std::string& path, const std::string& name, TRegType type, const std::string& data);
    bool KeyExists(const std::string& path) const;
    std::optional<TValue> Get(const std::string& path, const std::string& name) const;
    std::size_t KeyCount() const { return FKeys.size(); }
    std::size_t OpenHandles() const { return FHandles.size(); }
    void DenyAccess(const std::string& path) { FDenied.insert(Fold(path)); }
    void FailSetValue(long status) { FSetValueStatus = status; }
    std::function<void()> AfterSizeQuery;

private:
    static constexpr TRegKey KRoot = 1;
    static std::string Fold(const std::string& path);
    std::optional<std::string> PathOf(TRegKey key) const;
    std::string Join(const std::string& parent, const std::string& subKey) const;
    TRegKey NewHandle(const std::string& path);

    std::map<std::string, std::map<std::string, TValue>> FKeys; // folded path -> folded name -> value
    std::map<TRegKey, std::string> FHandles;
    std::set<std::string> FDenied;
    long FSetValueStatus = regstatus::Success;
    TRegKey FNextHandle = 100;
};

} // namespace quillbox::test
