#include "platform/win32/Win32Registry.h"

#include "platform/win32/Win32Api.h"

#include <limits>

namespace quillbox::win32 {

namespace {

HKEY ToHkey(TRegKey key) noexcept
{
    return reinterpret_cast<HKEY>(key);
}

TRegKey FromHkey(HKEY key) noexcept
{
    return reinterpret_cast<TRegKey>(key);
}

} // namespace

static_assert(regstatus::Success == ERROR_SUCCESS && regstatus::FileNotFound == ERROR_FILE_NOT_FOUND &&
              regstatus::MoreData == ERROR_MORE_DATA && regstatus::AccessDenied == ERROR_ACCESS_DENIED);
static_assert(static_cast<DWORD>(TRegType::Sz) == REG_SZ && static_cast<DWORD>(TRegType::ExpandSz) == REG_EXPAND_SZ &&
              static_cast<DWORD>(TRegType::Dword) == REG_DWORD && static_cast<DWORD>(TRegType::QWord) == REG_QWORD);

TRegKey TWin32Registry::CurrentUser() const
{
    return FromHkey(HKEY_CURRENT_USER);
}

long TWin32Registry::CreateKey(TRegKey parent, const std::string& subKey, TRegKey& result)
{
    HKEY key = nullptr;
    const LSTATUS status = ::RegCreateKeyExA(ToHkey(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS)
        result = FromHkey(key);
    return status;
}

long TWin32Registry::OpenKey(TRegKey parent, const std::string& subKey, TRegKey& result)
{
    HKEY key = nullptr;
    const LSTATUS status = ::RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (status == ERROR_SUCCESS)
        result = FromHkey(key);
    return status;
}

long TWin32Registry::QueryValue(TRegKey key, const std::string& name, TRegType& type, std::string* data,
                                std::size_t& size)
{
    DWORD nativeType = REG_NONE;
    if (data == nullptr) {
        DWORD needed = 0;
        const LSTATUS status = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &nativeType, nullptr, &needed);
        if (status == ERROR_SUCCESS) {
            type = static_cast<TRegType>(nativeType);
            size = needed;
        }
        return status;
    }
    if (size > std::numeric_limits<DWORD>::max())
        return ERROR_INVALID_PARAMETER;
    std::string buffer(size, '\0');
    DWORD length = static_cast<DWORD>(size);
    const LSTATUS status = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &nativeType,
                                              reinterpret_cast<BYTE*>(buffer.data()), &length);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        type = static_cast<TRegType>(nativeType);
        size = length;
    }
    if (status == ERROR_SUCCESS) {
        buffer.resize(length);
        *data = std::move(buffer);
    }
    return status;
}

long TWin32Registry::SetValue(TRegKey key, const std::string& name, TRegType type, const std::string& data)
{
    if (data.size() > std::numeric_limits<DWORD>::max())
        return ERROR_INVALID_PARAMETER;
    return ::RegSetValueExA(ToHkey(key), name.c_str(), 0, static_cast<DWORD>(type),
                            reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
}

long TWin32Registry::CloseKey(TRegKey key)
{
    return ::RegCloseKey(ToHkey(key));
}

} // namespace quillbox::win32
