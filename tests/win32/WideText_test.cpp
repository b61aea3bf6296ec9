#include "TestRunner.h"

#include "platform/win32/WideText.h"

namespace quillbox::win32::test {

QB_TEST(WideText, ConvertsUtf8BothWays)
{
    const struct
    {
        const char* Name;
        std::string Utf8;
        std::wstring Wide;
    } cases[] = {
        {"empty", "", L""},
        {"ASCII", "Quillbox", L"Quillbox"},
        {"half-width katakana", "ﾊﾞｰｼｮﾝ情報(&A)", L"\uFF8A\uFF9E\uFF70\uFF7C\uFF6E\uFF9D\u60C5\u5831(&A)"},
        {"a character outside the BMP", "\xF0\x9F\x93\x8B", L"\U0001F4CB"},
    };
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        QB_CHECK(Utf8ToWide(c.Utf8) == c.Wide);
        QB_CHECK_EQ(WideToUtf8(c.Wide), c.Utf8);
    }
}

QB_TEST(WideText, IllFormedUtf8BecomesReplacementCharacters)
{
    // A tip cut at 62 bytes can end inside a character; the text before it must survive.
    QB_CHECK(Utf8ToWide("ab\xE6\x97") == L"ab\uFFFD");
}

} // namespace quillbox::win32::test
