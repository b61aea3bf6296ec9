#include "settings/RegIniFile.h"

#include "platform/Exceptions.h"
#include "settings/StoredInteger.h"

#include <string>
#include <utility>

namespace {

using quillbox::IRegistry;
using quillbox::TRegKey;
using quillbox::TRegType;
namespace regstatus = quillbox::regstatus;

// Closes a section key however the operation that opened it ends.
class TSectionKey
{
public:
    TSectionKey(IRegistry& registry, TRegKey key) : FRegistry(registry), FKey(key) {}
    TSectionKey(const TSectionKey&) = delete;
    TSectionKey& operator=(const TSectionKey&) = delete;
    ~TSectionKey() { FRegistry.CloseKey(FKey); }
    TRegKey Get() const { return FKey; }

private:
    IRegistry& FRegistry;
    TRegKey FKey;
};

bool IsStringType(TRegType type)
{
    return type == TRegType::Sz || type == TRegType::ExpandSz;
}

} // namespace

TRegIniFile::TRegIniFile(IRegistry& registry, const std::string& keyPath) : FRegistry(registry)
{
    const std::string relative = !keyPath.empty() && keyPath.front() == '\\' ? keyPath.substr(1) : keyPath;
    TRegKey key = 0;
    // A product key that can be neither opened nor created is not reported here: every read then
    // gives its default and every write fails with the store's own error.
    if (FRegistry.CreateKey(FRegistry.CurrentUser(), relative, key) == regstatus::Success)
        FKey = key;
}

TRegIniFile::~TRegIniFile()
{
    if (FKey != 0)
        FRegistry.CloseKey(FKey);
}

std::int32_t TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, std::int32_t defaultValue)
{
    if (FKey == 0)
        return defaultValue;
    TRegKey opened = 0;
    if (FRegistry.OpenKey(FKey, section, opened) != regstatus::Success)
        return defaultValue;
    const TSectionKey sectionKey(FRegistry, opened);

    TRegType type = TRegType::None;
    std::size_t size = 0;
    if (FRegistry.QueryValue(sectionKey.Get(), ident, type, nullptr, size) != regstatus::Success)
        return defaultValue;
    if (size == 0)
        return defaultValue;
    if (!IsStringType(type))
        throw ERegistryException(quillbox::FormatMessage("'%s' のﾃﾞｰﾀ型が不正です", ident));

    std::string data;
    if (FRegistry.QueryValue(sectionKey.Get(), ident, type, &data, size) != regstatus::Success)
        throw ERegistryException(quillbox::FormatMessage("'%s' の取得に失敗しました", ident));
    if (!data.empty() && !IsStringType(type))
        throw ERegistryException(quillbox::FormatMessage("'%s' のﾃﾞｰﾀ型が不正です", ident));

    const auto zero = data.find('\0');
    if (zero != std::string::npos)
        data.resize(zero);
    return quillbox::detail::ParseStoredInteger(data).value_or(defaultValue);
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident, std::int32_t value)
{
    TRegKey created = 0;
    if (FKey == 0 || FRegistry.CreateKey(FKey, section, created) != regstatus::Success)
        throw ERegistryException(quillbox::FormatMessage("ｷｰ %s の作成に失敗しました", section));
    const TSectionKey sectionKey(FRegistry, created);

    if (FRegistry.SetValue(sectionKey.Get(), ident, TRegType::Sz, std::to_string(value)) != regstatus::Success)
        throw ERegistryException(quillbox::FormatMessage("'%s' の設定に失敗しました", ident));
}
