#include "settings/StoredInteger.h"

#include <gtest/gtest.h>
#include <string>

namespace quillbox::detail {
namespace {

TEST(ParseStoredInteger, ReadingRules)
{
    using namespace std::string_literals;
    const struct
    {
        std::string Text;
        std::optional<std::int32_t> Expected;
    } cases[] = {
        {"3", 3},
        {"   3", 3},
        {"3 ", std::nullopt},
        {"\t3", std::nullopt},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$1f", 31},
        {"$1F", 31},
        {"0x", std::nullopt},
        {"0x-1", std::nullopt},
        {"-$1F", std::nullopt},
        {" 0x1F", std::nullopt},
        {"  $1F", 31},
        {"$", std::nullopt},
        {"$FFFFFFFF", -1},
        {"$80000000", -2147483647 - 1},
        {"$000000001", 1},
        {"$100000000", std::nullopt},
        {"$1G", std::nullopt},
        {"-1", -1},
        {"+7", 7},
        {"0003", 3},
        {"0", 0},
        {"00", 0},
        {"2147483647", 2147483647},
        {"-2147483647", -2147483647},
        {"2147483648", std::nullopt},
        {"-2147483648", std::nullopt},
        {"00000000002147483647", 2147483647},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"1e3", std::nullopt},
        {"１", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text: [" + c.Text + "]");
        EXPECT_EQ(ParseStoredInteger(c.Text), c.Expected);
    }
}

} // namespace
} // namespace quillbox::detail
