#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(EInOutError, MessageIsChosenByCode)
{
    const struct
    {
        int Code;
        const char* Message;
    } cases[] = {
        {2, "ﾌｧｲﾙが見つかりません"},
        {3, "不正なﾌｧｲﾙ名です"},
        {4, "ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます"},
        {5, "ﾌｧｲﾙへのｱｸｾｽが拒否されました"},
        {100, "ﾌｧｲﾙの末尾以降を読み込みました"},
        {101, "ﾃﾞｨｽｸがいっぱいです"},
        {106, "入力値が数値ではありません"},
        {112, "I/O ｴﾗｰ (112)"},
        {0, "I/O ｴﾗｰ (0)"},
        {-1, "I/O ｴﾗｰ (-1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Code);
        const EInOutError error(c.Code);
        EXPECT_EQ(error.ErrorCode(), c.Code);
        EXPECT_STREQ(error.what(), c.Message);
    }
}

} // namespace
