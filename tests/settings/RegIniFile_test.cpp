#include "settings/RegIniFile.h"

#include "platform/Exceptions.h"

#include "fake/FakeRegistry.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using quillbox::TRegType;
using quillbox::test::TFakeRegistry;
using namespace std::string_literals;

const std::string KProduct = "Software\\Quillbox";
const std::string KDirectory = "Software\\Quillbox\\Directory";

class RegIniFileTest : public ::testing::Test
{
protected:
    std::int32_t ReadDNumber(std::int32_t defaultValue = 0)
    {
        TRegIniFile store(FRegistry, "\\Software\\Quillbox");
        return store.ReadInteger("Directory", "DNumber", defaultValue);
    }

    std::string ReadError()
    {
        try {
            ReadDNumber();
        } catch (const ERegistryException& e) {
            return e.what();
        }
        return "(no error)";
    }

    void TearDown() override { EXPECT_EQ(FRegistry.OpenHandles(), 0u) << "a key was left open"; }

    TFakeRegistry FRegistry;
};

TEST_F(RegIniFileTest, NothingStoredGivesDefaultsAndLeavesTheEmptyProductKey)
{
    {
        TRegIniFile store(FRegistry, "\\Software\\Quillbox");
        EXPECT_EQ(store.ReadInteger("Directory", "DNumber", 0), 0);
        EXPECT_EQ(store.ReadInteger("File", "FNumber", 7), 7);
    }
    EXPECT_TRUE(FRegistry.KeyExists(KProduct));
    EXPECT_FALSE(FRegistry.KeyExists(KDirectory));
    EXPECT_FALSE(FRegistry.KeyExists(KProduct + "\\File"));
}

TEST_F(RegIniFileTest, WritesDecimalTextWithoutTerminatorAndReadsItBack)
{
    const struct
    {
        std::int32_t Value;
        const char* Text;
    } cases[] = {{0, "0"}, {3, "3"}, {-1, "-1"}, {2147483647, "2147483647"}, {-2147483647, "-2147483647"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        {
            TRegIniFile store(FRegistry, "\\Software\\Quillbox");
            store.WriteInteger("Directory", "DNumber", c.Value);
        }
        const auto stored = FRegistry.Get(KDirectory, "DNumber");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->Type, TRegType::Sz);
        EXPECT_EQ(stored->Data, c.Text);
        EXPECT_EQ(ReadDNumber(99), c.Value);
    }
}

TEST_F(RegIniFileTest, ReadingRulesOverStoredData)
{
    const struct
    {
        const char* Name;
        TRegType Type;
        std::string Data;
        std::int32_t Expected;
    } cases[] = {
        {"decimal", TRegType::Sz, "3", 3},
        {"leading blanks", TRegType::Sz, "  3", 3},
        {"trailing blank", TRegType::Sz, "3 ", 42},
        {"hex 0x", TRegType::Sz, "0x1F", 31},
        {"hex dollar", TRegType::Sz, "$1f", 31},
        {"terminated", TRegType::Sz, "3\0"s, 3},
        {"zero byte then more", TRegType::Sz,
         "2\0"
         "99x"s,
         2},
        {"zero byte first", TRegType::Sz,
         "\0"
         "5"s,
         42},
        {"expand not expanded", TRegType::ExpandSz, "%X%", 42},
        {"expand digits", TRegType::ExpandSz, "12", 12},
        {"empty string", TRegType::Sz, "", 42},
        {"empty dword", TRegType::Dword, "", 42},
        {"empty binary", TRegType::Binary, "", 42},
        {"out of range", TRegType::Sz, "2147483648", 42},
        {"junk", TRegType::Sz, "abc", 42},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FRegistry.Put(KDirectory, "DNumber", c.Type, c.Data);
        EXPECT_EQ(ReadDNumber(42), c.Expected);
    }
}

TEST_F(RegIniFileTest, NonStringDataRaiseTheTypeError)
{
    for (const TRegType type : {TRegType::Dword, TRegType::Binary, TRegType::MultiSz, TRegType::QWord}) {
        SCOPED_TRACE(static_cast<int>(type));
        FRegistry.Put(KDirectory, "DNumber", type, "\x03\0\0\0"s);
        EXPECT_EQ(ReadError(), "'DNumber' のﾃﾞｰﾀ型が不正です");
    }
}

TEST_F(RegIniFileTest, MissingSectionOrValueGivesTheDefault)
{
    EXPECT_EQ(ReadDNumber(5), 5);
    FRegistry.Put(KDirectory, "Other", TRegType::Sz, "1");
    EXPECT_EQ(ReadDNumber(5), 5);
}

TEST_F(RegIniFileTest, ValueThatGrowsBetweenSizeAndFetchRaises)
{
    FRegistry.Put(KDirectory, "DNumber", TRegType::Sz, "1");
    FRegistry.AfterSizeQuery = [this] { FRegistry.Put(KDirectory, "DNumber", TRegType::Sz, "12345"); };
    EXPECT_EQ(ReadError(), "'DNumber' の取得に失敗しました");
}

TEST_F(RegIniFileTest, UnreachableSectionKeyGivesTheDefault)
{
    FRegistry.Put(KDirectory, "DNumber", TRegType::Sz, "2");
    FRegistry.DenyAccess(KDirectory);
    EXPECT_EQ(ReadDNumber(), 0);
}

TEST_F(RegIniFileTest, WriteFailuresRaiseWithTheirNames)
{
    const auto writeError = [this] {
        try {
            TRegIniFile store(FRegistry, "\\Software\\Quillbox");
            store.WriteInteger("Directory", "DNumber", 1);
        } catch (const ERegistryException& e) {
            return std::string(e.what());
        }
        return std::string("(no error)");
    };

    FRegistry.FailSetValue(quillbox::regstatus::AccessDenied);
    EXPECT_EQ(writeError(), "'DNumber' の設定に失敗しました");
    FRegistry.FailSetValue(quillbox::regstatus::Success);

    FRegistry.DenyAccess(KDirectory);
    EXPECT_EQ(writeError(), "ｷｰ Directory の作成に失敗しました");
}

TEST_F(RegIniFileTest, UnreachableProductKeyReadsDefaultsAndRefusesWrites)
{
    FRegistry.Put(KDirectory, "DNumber", TRegType::Sz, "2");
    FRegistry.DenyAccess(KProduct);
    EXPECT_EQ(ReadDNumber(), 0);
    try {
        TRegIniFile store(FRegistry, "\\Software\\Quillbox");
        store.WriteInteger("File", "FNumber", 1);
        FAIL() << "the write was reported as done";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "ｷｰ File の作成に失敗しました");
    }
    EXPECT_FALSE(FRegistry.KeyExists("File"));
}

} // namespace
