#pragma once

#include "platform/Registry.h"

#include <cstdint>
#include <string>

// The settings store: one object per access to the registry key at a path below the current user's
// root ("\Software\Quillbox"), reading and writing integers in its section subkeys. Nothing is
// cached; the registry is the only state. The product key is opened (created if missing) when the
// object is made and closed when it is destroyed, so making the object on the stack releases it on
// every path.
class TRegIniFile
{
public:
    TRegIniFile(quillbox::IRegistry& registry, const std::string& keyPath);
    TRegIniFile(const TRegIniFile&) = delete;
    TRegIniFile& operator=(const TRegIniFile&) = delete;
    ~TRegIniFile();

    // The integer stored as text in value `ident` of key `section`, or `defaultValue` when the key or
    // value is missing, its data are empty or the text does not convert. Raises ERegistryException
    // for a value of a non-string type, or one that changed between learning its size and fetching it.
    std::int32_t ReadInteger(const std::string& section, const std::string& ident, std::int32_t defaultValue);

    // Stores `value` as decimal text (REG_SZ, no terminating zero) in value `ident` of key `section`,
    // creating the key when it is missing. Raises ERegistryException when the key cannot be created or
    // the value cannot be set.
    void WriteInteger(const std::string& section, const std::string& ident, std::int32_t value);

private:
    quillbox::IRegistry& FRegistry;
    quillbox::TRegKey FKey = 0;
};
