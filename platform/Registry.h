#pragma once

#include <cstdint>
#include <string>

namespace quillbox {

// Registry value types, numbered as the Windows registry numbers them.
enum class TRegType : std::uint32_t {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    DwordBigEndian = 5,
    Link = 6,
    MultiSz = 7,
    QWord = 11,
};

// Status codes of registry calls, as the Windows registry returns them.
namespace regstatus {
inline constexpr long Success = 0;
inline constexpr long FileNotFound = 2;
inline constexpr long AccessDenied = 5;
inline constexpr long InvalidHandle = 6;
inline constexpr long InvalidParameter = 87;
inline constexpr long MoreData = 234;
inline constexpr long BadDatabase = 1009; // ERROR_BADDB: the store's backing data do not parse
inline constexpr long WriteFault = 29;
} // namespace regstatus

// An open registry key. Zero is never a valid key.
using TRegKey = std::uintptr_t;

// The registry of the current user, in the terms of the registry functions the settings store sits on
// (RegCreateKeyExA, RegOpenKeyExA, RegQueryValueExA, RegSetValueExA, RegCloseKey). Every call returns
// a status code from regstatus; keys are always opened with full access. Names and data are 8-bit
// byte strings; a value's data are counted, not terminated.
class IRegistry
{
public:
    IRegistry() = default;
    IRegistry(const IRegistry&) = delete;
    IRegistry& operator=(const IRegistry&) = delete;
    virtual ~IRegistry() = default;

    // The predefined root of the current user's hive; never closed.
    virtual TRegKey CurrentUser() const = 0;

    // Opens subKey below parent, creating every missing level of it. subKey has no leading "\".
    virtual long CreateKey(TRegKey parent, const std::string& subKey, TRegKey& result) = 0;

    // Opens an existing subKey below parent; FileNotFound when it is missing.
    virtual long OpenKey(TRegKey parent, const std::string& subKey, TRegKey& result) = 0;

    // Asks for a value of key. With data null, gives its type and size only. With data set, fetches at
    // most `size` bytes: when the value is larger it returns MoreData and sets size to what it needs;
    // otherwise it sets *data and size to the data. FileNotFound when the value is missing.
    virtual long QueryValue(TRegKey key, const std::string& name, TRegType& type, std::string* data,
                            std::size_t& size) = 0;

    // Sets (creates or replaces) a value of key.
    virtual long SetValue(TRegKey key, const std::string& name, TRegType type, const std::string& data) = 0;

    virtual long CloseKey(TRegKey key) = 0;
};

} // namespace quillbox
