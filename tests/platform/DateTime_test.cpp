#include "platform/DateTime.h"

#include <gtest/gtest.h>

namespace quillbox {
namespace {

struct TFormatCase
{
    const char* Pattern;
    TLocalDateTime Date;
    const char* Expected;
};

TEST(FormatDateTime, RendersTokensQuotesAndLiterals)
{
    const TLocalDateTime wed19980304{1998, 3, 4};
    const TLocalDateTime sat20000101{2000, 1, 1};
    const TFormatCase cases[] = {
        {"yymmdd", wed19980304, "980304"},
        {"yymmdd(aaa)", wed19980304, "980304(水)"},
        {R"(yy"年"mm"月"dd"日")", wed19980304, "98年03月04日"},
        {R"(yy"年"mm"月"dd"日"(aaa))", wed19980304, "98年03月04日(水)"},
        {"yymmdd", sat20000101, "000101"},
        {"yymmdd(aaa)", sat20000101, "000101(土)"},
        {R"(yy"年"mm"月"dd"日")", sat20000101, "00年01月01日"},
        {R"(yy"年"mm"月"dd"日"(aaa))", sat20000101, "00年01月01日(土)"},
        {"yy", {2005, 6, 7}, "05"},
        {"yyyy-m-d", {2026, 12, 1}, "2026-12-1"},
        {"YYMMDD", wed19980304, "980304"},
        {"'yy'yy", wed19980304, "yy98"},
        {R"("unclosed)", wed19980304, "unclosed"},
        {"yyy q", wed19980304, "yyy q"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Pattern);
        EXPECT_EQ(FormatDateTime(c.Pattern, c.Date), c.Expected);
    }
}

TEST(FormatDateTime, WeekdayCharacterForEveryDay)
{
    // 2026-12-06 is a Sunday.
    const char* expected[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(FormatDateTime("aaa", {2026, 12, 6 + i}), expected[i]);
    }
    EXPECT_EQ(FormatDateTime("aaa", {2000, 2, 29}), "火");
    EXPECT_EQ(FormatDateTime("aaa", {1900, 1, 1}), "月");
}

} // namespace
} // namespace quillbox
