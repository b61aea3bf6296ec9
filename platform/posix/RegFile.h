#pragma once

#include "platform/Registry.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillbox::posix {

// One value of a key. An empty name is the key's default value.
struct TRegFileValue
{
    std::string Name;
    TRegType Type = TRegType::None;
    std::string Data;

    bool operator==(const TRegFileValue&) const = default;
};

// A key as listed in a registry file: its full path (root first, levels joined with "\") and its values in
// the order they first appeared. Value names compare case-insensitively (ASCII) and keep their first spelling.
class TRegFileKey
{
public:
    explicit TRegFileKey(std::string path) : FPath(std::move(path)) {}

    const std::string& Path() const noexcept { return FPath; }
    const std::vector<TRegFileValue>& Values() const noexcept { return FValues; }
    const TRegFileValue* FindValue(std::string_view name) const;

    // Creates the value or replaces its type and data in place. False, changing nothing, when the name
    // cannot be written (see TRegFileTree::IsValidValueName).
    bool SetValue(std::string_view name, TRegType type, std::string data);

    bool operator==(const TRegFileKey&) const = default;

private:
    std::string FPath;
    std::vector<TRegFileValue> FValues;
    std::map<std::string, std::size_t> FIndex; // ASCII-lowercased name -> position in FValues
};

// The keys and values of a registry file, in the order they first appeared, under any roots.
// Invariant: every tree, whether parsed or built through this interface, serializes to text that parses
// back to an equal tree.
class TRegFileTree
{
public:
    const std::vector<TRegFileKey>& Keys() const noexcept { return FKeys; }

    // The key listed under path (case-insensitive), or null.
    const TRegFileKey* FindKey(std::string_view path) const;
    TRegFileKey* FindKey(std::string_view path);

    // Whether path is listed or is an ancestor of a listed key: as in the registry, a key implies its parents.
    bool KeyExists(std::string_view path) const;

    // The listed key at path, appended when it is not listed yet. Levels that already exist keep their
    // spelling, so a key never appears under two spellings. Null for a path IsValidKeyPath rejects.
    TRegFileKey* AddKey(std::string_view path);

    // A key path is one or more non-empty levels joined with "\", without control characters, and not
    // starting with "-" (which would read as a deletion).
    static bool IsValidKeyPath(std::string_view path);

    // A value name has no control characters (bytes below 0x20, and 0x7f); the empty name is the default.
    static bool IsValidValueName(std::string_view name);

    bool operator==(const TRegFileTree&) const = default;

private:
    std::vector<TRegFileKey> FKeys;
    std::map<std::string, std::size_t> FIndex; // ASCII-lowercased path -> position in FKeys
};

// Where and why a registry file does not parse. Line is 1-based.
struct TRegParseError
{
    std::size_t Line = 0;
    std::string Message;
};

// Parses the text of a registry file. On failure returns false with error set and tree left empty.
bool ParseRegFile(std::string_view text, TRegFileTree& tree, TRegParseError& error);

// The text of a registry file holding tree, with "\n" line ends.
std::string SerializeRegFile(const TRegFileTree& tree);

} // namespace quillbox::posix
