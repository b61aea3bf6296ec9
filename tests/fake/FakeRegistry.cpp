#include "fake/FakeRegistry.h"

#include <utility>

namespace quillbox::test {

std::string TFakeRegistry::Fold(const std::string& path)
{
    std::string folded = path;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

std::optional<std::string> TFakeRegistry::PathOf(TRegKey key) const
{
    if (key == KRoot)
        return std::string();
    const auto it = FHandles.find(key);
    if (it == FHandles.end())
        return std::nullopt;
    return it->second;
}

std::string TFakeRegistry::Join(const std::string& parent, const std::string& subKey) const
{
    return Fold(parent.empty() ? subKey : subKey.empty() ? parent : parent + "\\" + subKey);
}

TRegKey TFakeRegistry::NewHandle(const std::string& path)
{
    const TRegKey key = FNextHandle++;
    FHandles[key] = path;
    return key;
}

long TFakeRegistry::CreateKey(TRegKey parent, const std::string& subKey, TRegKey& result)
{
    const auto parentPath = PathOf(parent);
    if (!parentPath)
        return regstatus::InvalidHandle;
    const std::string path = Join(*parentPath, subKey);
    if (FDenied.count(path))
        return regstatus::AccessDenied;
    // Every missing level comes into being, as with the real registry.
    for (std::size_t at = 0; (at = path.find('\\', at)) != std::string::npos; ++at)
        FKeys[path.substr(0, at)];
    FKeys[path];
    result = NewHandle(path);
    return regstatus::Success;
}

long TFakeRegistry::OpenKey(TRegKey parent, const std::string& subKey, TRegKey& result)
{
    const auto parentPath = PathOf(parent);
    if (!parentPath)
        return regstatus::InvalidHandle;
    const std::string path = Join(*parentPath, subKey);
    if (!FKeys.count(path))
        return regstatus::FileNotFound;
    if (FDenied.count(path))
        return regstatus::AccessDenied;
    result = NewHandle(path);
    return regstatus::Success;
}

long TFakeRegistry::QueryValue(TRegKey key, const std::string& name, TRegType& type, std::string* data,
                               std::size_t& size)
{
    const auto path = PathOf(key);
    if (!path || key == KRoot)
        return regstatus::InvalidHandle;
    const auto value = Get(*path, name);
    if (!value)
        return regstatus::FileNotFound;
    type = value->Type;
    if (data == nullptr) {
        size = value->Data.size();
        if (AfterSizeQuery)
            std::exchange(AfterSizeQuery, nullptr)();
        return regstatus::Success;
    }
    if (value->Data.size() > size) {
        size = value->Data.size();
        return regstatus::MoreData;
    }
    *data = value->Data;
    size = value->Data.size();
    return regstatus::Success;
}

long TFakeRegistry::SetValue(TRegKey key, const std::string& name, TRegType type, const std::string& data)
{
    const auto path = PathOf(key);
    if (!path || key == KRoot)
        return regstatus::InvalidHandle;
    if (FSetValueStatus != regstatus::Success)
        return FSetValueStatus;
    FKeys[*path][Fold(name)] = TValue{type, data};
    return regstatus::Success;
}

long TFakeRegistry::CloseKey(TRegKey key)
{
    return FHandles.erase(key) == 1 ? regstatus::Success : regstatus::InvalidHandle;
}

void TFakeRegistry::Put(const std::string& path, const std::string& name, TRegType type, const std::string& data)
{
    TRegKey key = 0;
    CreateKey(KRoot, path, key);
    FKeys[Fold(path)][Fold(name)] = TValue{type, data};
    CloseKey(key);
}

bool TFakeRegistry::KeyExists(const std::string& path) const
{
    return FKeys.count(Fold(path)) != 0;
}

std::optional<TFakeRegistry::TValue> TFakeRegistry::Get(const std::string& path, const std::string& name) const
{
    const auto key = FKeys.find(Fold(path));
    if (key == FKeys.end())
        return std::nullopt;
    const auto value = key->second.find(Fold(name));
    if (value == key->second.end())
        return std::nullopt;
    return value->second;
}

} // namespace quillbox::test
