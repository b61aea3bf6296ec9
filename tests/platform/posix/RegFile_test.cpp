#include "platform/posix/RegFile.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace quillbox::posix {
namespace {

using namespace std::string_literals;

const std::string KeyPath = "HKEY_CURRENT_USER\\Software\\Quillbox";
const std::string Head = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Quillbox]\n";

TRegFileTree Parse(std::string_view text)
{
    TRegFileTree tree;
    TRegParseError error;
    EXPECT_TRUE(ParseRegFile(text, tree, error)) << "line " << error.Line << ": " << error.Message;
    return tree;
}

// One value written out and read back: the line it is written as, and the same type and bytes after reading.
struct TValueCase
{
    const char* Title;
    std::string Name;
    TRegType Type;
    std::string Data;
    std::string Line;
};

class TRegFileValueForm : public testing::TestWithParam<TValueCase>
{
};

TEST_P(TRegFileValueForm, WritesTheFormAndReadsBackTheSameBytes)
{
    const TValueCase& c = GetParam();
    TRegFileTree tree;
    ASSERT_TRUE(tree.AddKey(KeyPath)->SetValue(c.Name, c.Type, c.Data));

    const std::string text = SerializeRegFile(tree);
    EXPECT_EQ(text, Head + c.Line + "\n\n");

    const TRegFileTree back = Parse(text);
    ASSERT_NE(back.FindKey(KeyPath), nullptr);
    const TRegFileValue* value = back.FindKey(KeyPath)->FindValue(c.Name);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->Name, c.Name);
    EXPECT_EQ(value->Type, c.Type);
    EXPECT_EQ(value->Data, c.Data);
    EXPECT_EQ(back, tree);
}

INSTANTIATE_TEST_SUITE_P(
    AllForms, TRegFileValueForm,
    testing::Values(
        TValueCase{"PlainText", "DNumber", TRegType::Sz, "3", R"("DNumber"="3")"},
        TValueCase{"QuotesAndBackslashes", R"(a"b\c)", TRegType::Sz, R"(C:\dir\"x")", R"("a\"b\\c"="C:\\dir\\\"x\"")"},
        TValueCase{"JapaneseUtf8", "名前", TRegType::Sz, "日本語のテキスト", R"("名前"="日本語のテキスト")"},
        TValueCase{"EmptyText", "E", TRegType::Sz, "", R"("E"="")"},
        TValueCase{"TextWithZeroByte", "Z", TRegType::Sz, "ab\0c"s, R"("Z"=hex(1):61,62,00,63)"},
        TValueCase{"TextWithCrLf", "L", TRegType::Sz, "a\r\nb", R"("L"=hex(1):61,0d,0a,62)"},
        TValueCase{"TextWithDel", "D", TRegType::Sz, "a\x7f", R"("D"=hex(1):61,7f)"},
        TValueCase{"TextInvalidUtf8", "U", TRegType::Sz, "\xff\xfe", R"("U"=hex(1):ff,fe)"},
        TValueCase{"TextOverlongUtf8", "O", TRegType::Sz, "\xc0\xaf", R"("O"=hex(1):c0,af)"},
        TValueCase{"TextUtf8Surrogate", "S", TRegType::Sz, "\xed\xa0\x80", R"("S"=hex(1):ed,a0,80)"},
        TValueCase{"TextTruncatedUtf8", "T", TRegType::Sz, "\xe6\x97", R"("T"=hex(1):e6,97)"},
        TValueCase{"Dword", "N", TRegType::Dword, "\x78\x56\x34\x12", R"("N"=dword:12345678)"},
        TValueCase{"DwordTooShort", "N", TRegType::Dword, "\x01\x02\x03", R"("N"=hex(4):01,02,03)"},
        TValueCase{"DwordTooLong", "N", TRegType::Dword, "\x01\x02\x03\x04\x05", R"("N"=hex(4):01,02,03,04,05)"},
        TValueCase{"DwordEmpty", "N", TRegType::Dword, "", R"("N"=hex(4):)"},
        TValueCase{"ExpandSz", "X", TRegType::ExpandSz, "%HOME%", R"("X"=hex(2):25,48,4f,4d,45,25)"},
        TValueCase{"ExpandSzEmpty", "X", TRegType::ExpandSz, "", R"("X"=hex(2):)"},
        TValueCase{"Binary", "B", TRegType::Binary, "\x00\xff"s, R"("B"=hex:00,ff)"},
        TValueCase{"BinaryEmpty", "B", TRegType::Binary, "", R"("B"=hex:)"},
        TValueCase{"NoneType", "0", TRegType::None, "\x01", R"("0"=hex(0):01)"},
        TValueCase{"QWord", "Q", TRegType::QWord, "\x01\0\0\0\0\0\0\x80"s, R"("Q"=hex(b):01,00,00,00,00,00,00,80)"},
        TValueCase{"LargestType", "M", static_cast<TRegType>(0xffffffffu), "\x2a", R"("M"=hex(ffffffff):2a)"},
        TValueCase{"DefaultValue", "", TRegType::Sz, "x", R"(@="x")"},
        TValueCase{"DefaultDword", "", TRegType::Dword, "\x01\0\0\0"s, "@=dword:00000001"},
        TValueCase{"ValueNamedAt", "@", TRegType::Sz, "x", R"("@"="x")"},
        TValueCase{"LongDataWraps", "Blob", TRegType::Binary,
                   [] {
                       std::string bytes;
                       for (int i = 0; i < 60; ++i)
                           bytes += static_cast<char>(i);
                       return bytes;
                   }(),
                   "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
                   "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\n"
                   "  2f,30,31,32,33,34,35,36,37,38,39,3a,3b"}),
    [](const testing::TestParamInfo<TValueCase>& param) { return std::string(param.param.Title); });

// Forms that people and other tools write, each read as the canonical text shows.
TEST(TRegFileParse, ReadsTheFormsOtherWritersUse)
{
    const struct
    {
        const char* Title;
        std::string Input;
        std::string Canonical;
    } cases[] = {
        {"no version line, no trailing newline", "[A\\B]\n\"v\"=\"1\"", "[A\\B]\n\"v\"=\"1\"\n\n"},
        {"BOM and CR LF", "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n[A\\B]\r\n\"v\"=\"1\"\r\n",
         "[A\\B]\n\"v\"=\"1\"\n\n"},
        {"comments and blank lines", "; settings\n\n[A\\B]\n  ; inside\n\"v\"=\"1\"\n\n\n", "[A\\B]\n\"v\"=\"1\"\n\n"},
        {"blanks around the equals sign", "[A\\B]\n\"v\" = \"1\"  \n", "[A\\B]\n\"v\"=\"1\"\n\n"},
        {"short upper-case dword", "[A\\B]\n\"v\"=DWORD:1F\n", "[A\\B]\n\"v\"=dword:0000001f\n\n"},
        {"continued hex with indent", "[A\\B]\n\"v\"=hex:01,\\\n    02,\\\n  FF\n", "[A\\B]\n\"v\"=hex:01,02,ff\n\n"},
        {"hex(3) is binary, hex(1) text shown plainly", "[A\\B]\n\"b\"=hex(3):01\n\"s\"=hex(1):61\n",
         "[A\\B]\n\"b\"=hex:01\n\"s\"=\"a\"\n\n"},
        {"empty quoted name is the default", "[A\\B]\n\"\"=\"d\"\n", "[A\\B]\n@=\"d\"\n\n"},
        {"later value replaces earlier in place, first spelling kept",
         "[A\\B]\n\"v\"=\"1\"\n\"w\"=\"2\"\n\"V\"=\"3\"\n", "[A\\B]\n\"v\"=\"3\"\n\"w\"=\"2\"\n\n"},
        {"repeated header in other case merges", "[A\\B]\n\"v\"=\"1\"\n[A\\C]\n[a\\b]\n\"w\"=\"2\"\n",
         "[A\\B]\n\"v\"=\"1\"\n\"w\"=\"2\"\n\n[A\\C]\n\n"},
        {"raw control byte in quotes kept as data", "[A\\B]\n\"v\"=\"a\tb\"\n", "[A\\B]\n\"v\"=hex(1):61,09,62\n\n"},
        {"brackets inside a key name", "[A\\x]y]\n", "[A\\x]y]\n\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        EXPECT_EQ(SerializeRegFile(Parse(c.Input)), "Windows Registry Editor Version 5.00\n\n" + c.Canonical);
    }
}

TEST(TRegFileParse, RejectsMalformedInputWithItsLine)
{
    const struct
    {
        const char* Title;
        std::string Input;
        std::size_t Line;
        const char* Message;
    } cases[] = {
        {"value before any key", "Windows Registry Editor Version 5.00\n\n\"v\"=\"1\"\n", 3,
         "value before any key header"},
        {"header without closing bracket", "[A\\B\n", 1, "malformed key header"},
        {"empty header", "[]\n", 1, "malformed key header"},
        {"empty level in header", "[A\\\\B]\n", 1, "malformed key header"},
        {"trailing backslash in header", "[A\\B\\]\n", 1, "malformed key header"},
        {"key deletion", "[A]\n[-A\\B]\n", 2, "key deletion is not supported"},
        {"value deletion", "[A]\n\"v\"=-\n", 2, "value deletion is not supported"},
        {"bad hex digit", "[A]\n\"v\"=hex:0g\n", 2, "invalid hex data"},
        {"one-digit hex byte", "[A]\n\"v\"=hex:1,02\n", 2, "invalid hex data"},
        {"hex with trailing comma", "[A]\n\"v\"=hex:01,\n", 2, "invalid hex data"},
        {"bad hex on a continuation line", "[A]\n\"v\"=hex:01,\\\n  02,\\\n  0x\n", 4, "invalid hex data"},
        {"continuation at end of file", "[A]\n\"v\"=hex:01,\\\n", 2, "value continues past the end of the file"},
        {"bad hex type", "[A]\n\"v\"=hex(zz):00\n", 2, "invalid hex value type"},
        {"hex type too large", "[A]\n\"v\"=hex(100000000):00\n", 2, "invalid hex value type"},
        {"hex without colon", "[A]\n\"v\"=hex 00\n", 2, "invalid hex value type"},
        {"unterminated data", "[A]\n\n\"v\"=\"abc\n", 3, "unterminated quoted string"},
        {"unterminated name", "[A]\n\"v=1\n", 2, "unterminated quoted string"},
        {"escaped closing quote", "[A]\n\"v\"=\"abc\\\"\n", 2, "unterminated quoted string"},
        {"unknown escape", "[A]\n\"v\"=\"C:\\temp\"\n", 2, "invalid escape in quoted string"},
        {"trailing garbage", "[A]\n\"v\"=\"1\" x\n", 2, "unexpected text after value"},
        {"dword too long", "[A]\n\"v\"=dword:123456789\n", 2, "invalid dword value"},
        {"dword empty", "[A]\n\"v\"=dword:\n", 2, "invalid dword value"},
        {"dword not hex", "[A]\n\"v\"=dword:0000000g\n", 2, "invalid dword value"},
        {"unknown type", "[A]\n\"v\"=qword:1\n", 2, "unknown value type"},
        {"missing equals", "[A]\n\"v\" \"1\"\n", 2, "expected '=' after value name"},
        {"control character in name", "[A]\n\"a\tb\"=\"1\"\n", 2, "control character in value name"},
        {"stray text", "[A]\nv=1\n", 2, "unrecognized line"},
        {"version line not first", "\nWindows Registry Editor Version 5.00\n", 2, "unrecognized line"},
        {"old format", "REGEDIT4\n", 1, "unrecognized line"},
        {"line count with BOM and CR LF", "\xEF\xBB\xBF[A]\r\n\"v\"=\"1\"\r\n\r\n\"w\"=dword:x\r\n", 4,
         "invalid dword value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        TRegFileTree tree;
        tree.AddKey("Left\\Over");
        TRegParseError error;
        EXPECT_FALSE(ParseRegFile(c.Input, tree, error));
        EXPECT_EQ(error.Line, c.Line);
        EXPECT_EQ(error.Message, c.Message);
        EXPECT_TRUE(tree.Keys().empty());
    }
}

TEST(TRegFileTree, KeysMatchCaseInsensitivelyAndKeepTheirFirstSpelling)
{
    TRegFileTree tree;
    tree.AddKey("HKEY_CURRENT_USER\\Software\\Quillbox\\Directory");
    EXPECT_EQ(tree.AddKey("hkey_current_user\\SOFTWARE\\quillbox\\File")->Path(),
              "HKEY_CURRENT_USER\\Software\\Quillbox\\File");
    EXPECT_EQ(tree.AddKey("HKEY_CURRENT_USER\\software\\QUILLBOX\\directory")->Path(),
              "HKEY_CURRENT_USER\\Software\\Quillbox\\Directory");
    EXPECT_EQ(tree.Keys().size(), 2u);
    ASSERT_NE(tree.FindKey("HKEY_CURRENT_USER\\SOFTWARE\\QUILLBOX\\FILE"), nullptr);
    EXPECT_EQ(tree.FindKey("HKEY_CURRENT_USER\\Software"), nullptr); // implied, not listed

    TRegFileKey& key = *tree.FindKey("HKEY_CURRENT_USER\\Software\\Quillbox\\Directory");
    ASSERT_TRUE(key.SetValue("DNumber", TRegType::Sz, "3"));
    ASSERT_TRUE(key.SetValue("dnumber", TRegType::Dword, "\x05\0\0\0"s));
    ASSERT_EQ(key.Values().size(), 1u);
    EXPECT_EQ(key.Values()[0], (TRegFileValue{"DNumber", TRegType::Dword, "\x05\0\0\0"s}));
    EXPECT_EQ(key.FindValue("DNUMBER"), &key.Values()[0]);
    EXPECT_EQ(key.FindValue("DNumber2"), nullptr);
}

TEST(TRegFileTree, KeyExistsWhenListedOrImpliedByADescendant)
{
    TRegFileTree tree;
    tree.AddKey("Root\\b c"); // sorts between "root\b" and "root\b\..."
    tree.AddKey("Root\\b\\c\\d");
    const struct
    {
        const char* Path;
        bool Exists;
    } cases[] = {
        {"Root", true},          {"ROOT\\B", true},   {"root\\b\\c", true},
        {"Root\\b\\c\\d", true}, {"Root\\b c", true}, {"Root\\b\\c\\d\\e", false},
        {"Root\\b\\", false},    {"Roo", false},      {"Root\\b\\c\\", false},
        {"Other", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        EXPECT_EQ(tree.KeyExists(c.Path), c.Exists);
    }
}

TEST(TRegFileTree, RefusesNamesThatCannotBeWritten)
{
    for (const char* path : {"", "\\A", "A\\", "A\\\\B", "-A\\B", "A\nB", "A\rB", "A\x7f"}) {
        SCOPED_TRACE(path);
        TRegFileTree tree;
        EXPECT_EQ(tree.AddKey(path), nullptr);
        EXPECT_TRUE(tree.Keys().empty());
    }
    TRegFileTree tree;
    TRegFileKey& key = *tree.AddKey("A\\-B");
    for (const std::string& name : {"a\nb"s, "a\rb"s, "a\0b"s, "\x1f"s}) {
        EXPECT_FALSE(key.SetValue(name, TRegType::Sz, "x"));
        EXPECT_TRUE(key.Values().empty());
    }
}

// Keys under other roots, values of every type and keys without values all survive a read and a rewrite.
TEST(TRegFileTree, KeepsUnknownKeysAndValuesInOrder)
{
    const std::string text = "Windows Registry Editor Version 5.00\n\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
                             "\"Path\"=hex(2):25,00\n\n"
                             "[HKEY_CURRENT_USER\\Software\\Quillbox]\n"
                             "\"Future\"=hex(7):61,00,00,00\n"
                             "@=\"default\"\n\n"
                             "[HKEY_CURRENT_USER\\Software\\Quillbox\\Empty]\n\n"
                             "[Anything\\Else]\n"
                             "\"n\"=dword:00000000\n\n";
    TRegFileTree tree = Parse(text);
    EXPECT_EQ(SerializeRegFile(tree), text);

    ASSERT_TRUE(tree.AddKey("HKEY_CURRENT_USER\\Software\\Quillbox")->SetValue("DNumber", TRegType::Sz, "2"));
    ASSERT_TRUE(tree.AddKey("HKEY_CURRENT_USER\\Software\\Quillbox\\File")->SetValue("FNumber", TRegType::Sz, "1"));
    EXPECT_EQ(SerializeRegFile(tree), "Windows Registry Editor Version 5.00\n\n"
                                      "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
                                      "\"Path\"=hex(2):25,00\n\n"
                                      "[HKEY_CURRENT_USER\\Software\\Quillbox]\n"
                                      "\"Future\"=hex(7):61,00,00,00\n"
                                      "@=\"default\"\n"
                                      "\"DNumber\"=\"2\"\n\n"
                                      "[HKEY_CURRENT_USER\\Software\\Quillbox\\Empty]\n\n"
                                      "[Anything\\Else]\n"
                                      "\"n\"=dword:00000000\n\n"
                                      "[HKEY_CURRENT_USER\\Software\\Quillbox\\File]\n"
                                      "\"FNumber\"=\"1\"\n\n");
}

} // namespace
} // namespace quillbox::posix
