#include "platform/posix/RegFile.h"

#include <cstdint>
#include <utility>

namespace quillbox::posix {

namespace {

constexpr std::string_view VersionLine = "Windows Registry Editor Version 5.00";
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view HexDigits = "0123456789abcdef";

// Continued hex lines are wrapped so that no line, with its trailing "\", is wider than this.
constexpr std::size_t WrapColumn = 80;

bool IsControl(unsigned char c)
{
    return c < 0x20 || c == 0x7f;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Registry names compare case-insensitively in ASCII only; other bytes compare exactly.
std::string Lower(std::string_view s)
{
    std::string result(s);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool ConsumeNoCase(std::string_view& s, std::string_view prefix)
{
    if (s.size() < prefix.size() || Lower(s.substr(0, prefix.size())) != prefix)
        return false;
    s.remove_prefix(prefix.size());
    return true;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads 1 to 8 hex digits making up all of s.
bool ParseHex32(std::string_view s, std::uint32_t& result)
{
    if (s.empty() || s.size() > 8)
        return false;
    result = 0;
    for (char c : s) {
        const int digit = HexValue(c);
        if (digit < 0)
            return false;
        result = (result << 4) | static_cast<std::uint32_t>(digit);
    }
    return true;
}

// Whether text can be written between quotes and read back unchanged: well-formed UTF-8 (no overlong
// forms, surrogates or code points past U+10FFFF) without control characters, which a text editor
// would show ambiguously or a line split would break.
bool IsPlainText(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (IsControl(c))
                return false;
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xbf; // bounds of the second byte
        if (c >= 0xc2 && c <= 0xdf)
            length = 2;
        else if (c >= 0xe0 && c <= 0xef) {
            length = 3;
            if (c == 0xe0)
                low = 0xa0;
            else if (c == 0xed)
                high = 0x9f;
        } else if (c >= 0xf0 && c <= 0xf4) {
            length = 4;
            if (c == 0xf0)
                low = 0x90;
            else if (c == 0xf4)
                high = 0x8f;
        } else
            return false;
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xbf))
                return false;
        }
        i += length;
    }
    return true;
}

void AppendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
}

void AppendHexByte(std::string& out, unsigned char byte)
{
    out += HexDigits[byte >> 4];
    out += HexDigits[byte & 0xf];
}

std::string HexNumber(std::uint32_t n)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), HexDigits[n & 0xf]);
        n >>= 4;
    } while (n != 0);
    return digits;
}

void AppendValue(std::string& out, const TRegFileValue& value)
{
    std::string line;
    if (value.Name.empty())
        line = "@";
    else
        AppendQuoted(line, value.Name);
    line += '=';

    if (value.Type == TRegType::Sz && IsPlainText(value.Data)) {
        AppendQuoted(line, value.Data);
    } else if (value.Type == TRegType::Dword && value.Data.size() == 4) {
        line += "dword:";
        for (std::size_t i = 4; i-- > 0;)
            AppendHexByte(line, static_cast<unsigned char>(value.Data[i]));
    } else {
        if (value.Type == TRegType::Binary)
            line += "hex:";
        else
            line += "hex(" + HexNumber(static_cast<std::uint32_t>(value.Type)) + "):";
        for (std::size_t i = 0; i < value.Data.size(); ++i) {
            const bool last = i + 1 == value.Data.size();
            const std::size_t width = last ? 2 : 3;
            if (line.size() + width + 1 > WrapColumn && line != "  ") {
                out += line;
                out += "\\\n";
                line = "  ";
            }
            AppendHexByte(line, static_cast<unsigned char>(value.Data[i]));
            if (!last)
                line += ',';
        }
    }
    out += line;
    out += '\n';
}

// A listed path, in its own spelling, that equals `lowered` or lies below it; null if none does. Listed
// paths below a prefix sort right after prefix + "\" in the index.
const std::string* ListedAtOrBelow(const std::map<std::string, std::size_t>& index,
                                   const std::vector<TRegFileKey>& keys, const std::string& lowered)
{
    if (const auto it = index.find(lowered); it != index.end())
        return &keys[it->second].Path();
    const std::string prefix = lowered + '\\';
    const auto it = index.lower_bound(prefix);
    if (it != index.end() && it->first.starts_with(prefix))
        return &keys[it->second].Path();
    return nullptr;
}

// Hands out the lines of a file one by one, without their line end ("\n" or "\r\n") and with blanks
// trimmed at both ends, counting them from 1.
class TLineReader
{
public:
    explicit TLineReader(std::string_view text) : FRest(text) {}

    bool Next(std::string_view& line)
    {
        // A final line end ends the last line; it does not start an empty one.
        if (FAtEnd || (FRest.empty() && FNumber > 0))
            return false;
        const std::size_t end = FRest.find('\n');
        std::string_view raw = FRest.substr(0, end);
        if (end == std::string_view::npos)
            FAtEnd = true;
        else
            FRest.remove_prefix(end + 1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        line = Trim(raw);
        ++FNumber;
        return true;
    }

    std::size_t Number() const noexcept { return FNumber; }

private:
    std::string_view FRest;
    std::size_t FNumber = 0;
    bool FAtEnd = false;
};

class TRegFileParser
{
public:
    TRegFileParser(std::string_view text, TRegParseError& error) : FLines(text), FError(error) {}

    bool Run()
    {
        std::string_view line;
        while (FLines.Next(line)) {
            if (FLines.Number() == 1 && line == VersionLine)
                continue;
            if (line.empty() || line.front() == ';')
                continue;
            bool ok = false;
            if (line.front() == '[')
                ok = ParseHeader(line);
            else if (line.front() == '"' || line.front() == '@')
                ok = ParseValue(line);
            else
                ok = Fail(FLines.Number(), "unrecognized line");
            if (!ok)
                return false;
        }
        return true;
    }

    TRegFileTree& Tree() noexcept { return FTree; }

private:
    bool Fail(std::size_t line, const char* message)
    {
        FError.Line = line;
        FError.Message = message;
        return false;
    }

    bool ParseHeader(std::string_view line)
    {
        if (line.size() < 2 || line.back() != ']')
            return Fail(FLines.Number(), "malformed key header");
        const std::string_view path = line.substr(1, line.size() - 2);
        if (!path.empty() && path.front() == '-')
            return Fail(FLines.Number(), "key deletion is not supported");
        FKey = FTree.AddKey(path);
        if (FKey == nullptr)
            return Fail(FLines.Number(), "malformed key header");
        return true;
    }

    // Reads a quoted string at the start of s, leaving s after its closing quote.
    bool ParseQuoted(std::string_view& s, std::string& result)
    {
        result.clear();
        for (std::size_t i = 1; i < s.size(); ++i) {
            if (s[i] == '"') {
                s.remove_prefix(i + 1);
                return true;
            }
            if (s[i] == '\\') {
                if (i + 1 == s.size())
                    break;
                if (s[i + 1] != '\\' && s[i + 1] != '"')
                    return Fail(FLines.Number(), "invalid escape in quoted string");
                ++i;
            }
            result += s[i];
        }
        return Fail(FLines.Number(), "unterminated quoted string");
    }

    bool ParseValue(std::string_view line)
    {
        const std::size_t valueLine = FLines.Number();
        if (FKey == nullptr)
            return Fail(valueLine, "value before any key header");
        std::string name;
        if (line.front() == '@')
            line.remove_prefix(1);
        else if (!ParseQuoted(line, name))
            return false;
        line = Trim(line);
        if (line.empty() || line.front() != '=')
            return Fail(valueLine, "expected '=' after value name");
        line = Trim(line.substr(1));

        TRegType type = TRegType::Sz;
        std::string data;
        if (!line.empty() && line.front() == '"') {
            if (!ParseQuoted(line, data))
                return false;
            if (!line.empty())
                return Fail(valueLine, "unexpected text after value");
        } else if (ConsumeNoCase(line, "dword:")) {
            std::uint32_t number = 0;
            if (!ParseHex32(line, number))
                return Fail(valueLine, "invalid dword value");
            type = TRegType::Dword;
            for (int i = 0; i < 4; ++i)
                data += static_cast<char>((number >> (8 * i)) & 0xff);
        } else if (ConsumeNoCase(line, "hex")) {
            std::uint32_t number = static_cast<std::uint32_t>(TRegType::Binary);
            if (!line.empty() && line.front() == '(') {
                const std::size_t close = line.find(')');
                if (close == std::string_view::npos || !ParseHex32(line.substr(1, close - 1), number))
                    return Fail(valueLine, "invalid hex value type");
                line.remove_prefix(close + 1);
            }
            if (line.empty() || line.front() != ':')
                return Fail(valueLine, "invalid hex value type");
            line.remove_prefix(1);
            type = static_cast<TRegType>(number);
            if (!ParseHexData(line, data))
                return false;
        } else if (line == "-") {
            return Fail(valueLine, "value deletion is not supported");
        } else {
            return Fail(valueLine, "unknown value type");
        }

        if (!FKey->SetValue(name, type, std::move(data)))
            return Fail(valueLine, "control character in value name");
        return true;
    }

    // Reads comma-separated bytes that go on over following lines while a line ends with "\".
    bool ParseHexData(std::string_view segment, std::string& data)
    {
        std::string joined;
        std::vector<std::pair<std::size_t, std::size_t>> lineStarts; // offset in joined -> line number
        for (;;) {
            lineStarts.emplace_back(joined.size(), FLines.Number());
            if (segment.empty() || segment.back() != '\\') {
                joined += segment;
                break;
            }
            segment.remove_suffix(1);
            joined += Trim(segment);
            if (!FLines.Next(segment))
                return Fail(FLines.Number(), "value continues past the end of the file");
        }

        if (joined.empty())
            return true;
        std::size_t pos = 0;
        while (pos < joined.size()) {
            const int high = pos + 1 < joined.size() ? HexValue(joined[pos]) : -1;
            const int low = high >= 0 ? HexValue(joined[pos + 1]) : -1;
            if (low < 0)
                break;
            data += static_cast<char>((high << 4) | low);
            pos += 2;
            if (pos == joined.size())
                return true;
            if (joined[pos] != ',')
                break;
            ++pos;
        }
        std::size_t line = lineStarts.front().second;
        for (const auto& [offset, number] : lineStarts)
            if (offset <= pos)
                line = number;
        return Fail(line, "invalid hex data");
    }

    TLineReader FLines;
    TRegParseError& FError;
    TRegFileTree FTree;
    TRegFileKey* FKey = nullptr; // the key of the last header; stays valid until the next AddKey
};

} // namespace

const TRegFileValue* TRegFileKey::FindValue(std::string_view name) const
{
    const auto it = FIndex.find(Lower(name));
    return it == FIndex.end() ? nullptr : &FValues[it->second];
}

bool TRegFileKey::SetValue(std::string_view name, TRegType type, std::string data)
{
    if (!TRegFileTree::IsValidValueName(name))
        return false;
    std::string lowered = Lower(name);
    if (const auto it = FIndex.find(lowered); it != FIndex.end()) {
        FValues[it->second].Type = type;
        FValues[it->second].Data = std::move(data);
        return true;
    }
    FValues.push_back({std::string(name), type, std::move(data)});
    FIndex.emplace(std::move(lowered), FValues.size() - 1);
    return true;
}

const TRegFileKey* TRegFileTree::FindKey(std::string_view path) const
{
    const auto it = FIndex.find(Lower(path));
    return it == FIndex.end() ? nullptr : &FKeys[it->second];
}

TRegFileKey* TRegFileTree::FindKey(std::string_view path)
{
    return const_cast<TRegFileKey*>(std::as_const(*this).FindKey(path));
}

bool TRegFileTree::KeyExists(std::string_view path) const
{
    return ListedAtOrBelow(FIndex, FKeys, Lower(path)) != nullptr;
}

TRegFileKey* TRegFileTree::AddKey(std::string_view path)
{
    if (!IsValidKeyPath(path))
        return nullptr;
    std::string lowered = Lower(path);
    if (const auto it = FIndex.find(lowered); it != FIndex.end())
        return &FKeys[it->second];

    // Take the spelling of the deepest level that exists already; lowering keeps byte positions.
    std::string spelled(path);
    for (std::size_t length = lowered.size(); length != std::string::npos;
         length = length == 0 ? std::string::npos : lowered.rfind('\\', length - 1)) {
        if (const std::string* existing = ListedAtOrBelow(FIndex, FKeys, lowered.substr(0, length))) {
            spelled.replace(0, length, *existing, 0, length);
            break;
        }
    }
    FKeys.emplace_back(std::move(spelled));
    FIndex.emplace(std::move(lowered), FKeys.size() - 1);
    return &FKeys.back();
}

bool TRegFileTree::IsValidKeyPath(std::string_view path)
{
    if (path.empty() || path.front() == '-')
        return false;
    std::size_t levelLength = 0;
    for (char c : path) {
        if (c == '\\') {
            if (levelLength == 0)
                return false;
            levelLength = 0;
        } else if (IsControl(static_cast<unsigned char>(c))) {
            return false;
        } else {
            ++levelLength;
        }
    }
    return levelLength != 0;
}

bool TRegFileTree::IsValidValueName(std::string_view name)
{
    for (char c : name)
        if (IsControl(static_cast<unsigned char>(c)))
            return false;
    return true;
}

bool ParseRegFile(std::string_view text, TRegFileTree& tree, TRegParseError& error)
{
    if (text.starts_with(Utf8Bom))
        text.remove_prefix(Utf8Bom.size());
    TRegFileParser parser(text, error);
    if (!parser.Run()) {
        tree = TRegFileTree();
        return false;
    }
    tree = std::move(parser.Tree());
    return true;
}

std::string SerializeRegFile(const TRegFileTree& tree)
{
    std::string out(VersionLine);
    out += "\n\n";
    for (const TRegFileKey& key : tree.Keys()) {
        out += '[';
        out += key.Path();
        out += "]\n";
        for (const TRegFileValue& value : key.Values())
            AppendValue(out, value);
        out += '\n';
    }
    return out;
}

} // namespace quillbox::posix
