#include "app/ClipSaving.h"

#include "platform/Exceptions.h"

#include "CaptureFixture.h"

#include <sys/stat.h>

namespace quillbox::test {
namespace {

using namespace std::string_literals;
using TNames = std::vector<std::string>;

class ClipSavingTest : public CaptureTest
{
protected:
    void Save(const std::string& text) { SaveClip(Services(), text); }

    // The EInOutError code a save raises, or 0.
    int SaveError(const std::string& text)
    {
        try {
            Save(text);
        } catch (const EInOutError& e) {
            return e.ErrorCode();
        }
        return 0;
    }
};

TEST_F(ClipSavingTest, NumbersClipsInTodaysDirectory)
{
    Save("first");
    Save("second");
    EXPECT_EQ(List(), TNames{"980304/"});
    EXPECT_EQ(List("980304"), (TNames{"1.txt", "2.txt"}));
    EXPECT_EQ(Clip("980304/1.txt"), "first");
    EXPECT_EQ(Clip("980304/2.txt"), "second");
}

TEST_F(ClipSavingTest, DirectoryNameFollowsTheStyle)
{
    const struct
    {
        int DNumber;
        TLocalDateTime Date;
        const char* Directory;
    } cases[] = {
        {0, {1998, 3, 4}, "980304"},           {1, {1998, 3, 4}, "980304(水)"},       {2, {1998, 3, 4}, "98年03月04日"},
        {3, {1998, 3, 4}, "98年03月04日(水)"}, {0, {2000, 1, 1}, "000101"},           {1, {2000, 1, 1}, "000101(土)"},
        {2, {2000, 1, 1}, "00年01月01日"},     {3, {2000, 1, 1}, "00年01月01日(土)"}, {4, {2000, 1, 1}, "000101"},
        {-1, {2000, 1, 1}, "000101"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Directory);
        SetStyles(c.DNumber, 0);
        FClock.Set(c.Date);
        Save("x");
        EXPECT_TRUE(FRealFiles.FileExists(Base() + "/" + c.Directory + "/1.txt"));
    }
}

TEST_F(ClipSavingTest, NumberingFillsGapsAndIsNotPadded)
{
    ASSERT_EQ(::mkdir("980304", 0777), 0);
    for (const char* name : {"1.txt", "2.txt", "4.txt"})
        WriteFile("980304/"s + name, "old");
    Save("a");
    Save("b");
    EXPECT_EQ(Clip("980304/3.txt"), "a");
    EXPECT_EQ(Clip("980304/5.txt"), "b");
    for (int i = 6; i <= 9; ++i)
        Save("c");
    Save("tenth");
    EXPECT_EQ(Clip("980304/10.txt"), "tenth");
    EXPECT_EQ(Clip("980304/1.txt"), "old");
}

TEST_F(ClipSavingTest, DirectoryInTheWayOfANumberFails)
{
    ASSERT_EQ(::mkdir("980304", 0777), 0);
    WriteFile("980304/1.txt", "");
    WriteFile("980304/2.txt", "");
    ASSERT_EQ(::mkdir("980304/3.txt", 0777), 0);
    EXPECT_EQ(SaveError("x"), 5);
    EXPECT_EQ(List("980304"), (TNames{"1.txt", "2.txt", "3.txt/"}));
}

TEST_F(ClipSavingTest, FileNamedLikeTheDateDirectoryFails)
{
    WriteFile("980304", "not a directory");
    EXPECT_NE(SaveError("x"), 0);
    EXPECT_EQ(Clip("980304"), "not a directory");
}

TEST_F(ClipSavingTest, WritesTheBytesUnchanged)
{
    const std::string texts[] = {"abc", "line 1\r\nline 2", "", "\x82\xa0\xff\x01", std::string(1 << 20, 'z')};
    int n = 0;
    for (const auto& text : texts) {
        SCOPED_TRACE(n);
        Save(text);
        EXPECT_EQ(Clip("980304/" + std::to_string(++n) + ".txt"), text);
    }
}

TEST_F(ClipSavingTest, OutOfRangeFileStyleNumbers)
{
    SetStyles(0, 2);
    Save("x");
    EXPECT_EQ(List("980304"), TNames{"1.txt"});
}

TEST_F(ClipSavingTest, SettingsAreReadAtEveryClip)
{
    Save("a");
    SetStyles(1, 0);
    Save("b");
    EXPECT_EQ(List(), (TNames{"980304(水)/", "980304/"}));
    EXPECT_EQ(Clip("980304(水)/1.txt"), "b");
}

TEST_F(ClipSavingTest, RegistryErrorEndsTheClipBeforeAnyDirectoryWork)
{
    FRegistry.Put("Software\\Quillbox\\Directory", "DNumber", TRegType::Dword, "\1\0\0\0"s);
    EXPECT_THROW(Save("x"), ERegistryException);
    EXPECT_TRUE(List().empty());
    EXPECT_EQ(FRegistry.OpenHandles(), 0u);
}

TEST_F(ClipSavingTest, TypedNamesAreUsedAsTyped)
{
    ASSERT_EQ(::mkdir("980304", 0777), 0);
    ASSERT_EQ(::mkdir("980304/sub", 0777), 0);
    SetStyles(0, 1);
    const struct
    {
        const char* Typed;
        const char* File;
    } cases[] = {
        {"memo", "980304/memo.txt"},
        {"memo.txt", "980304/memo.txt.txt"},
        {" spaced ", "980304/ spaced .txt"},
        {"メモ", "980304/メモ.txt"},
        {"..", "980304/...txt"},
        {"sub/inner", "980304/sub/inner.txt"},
        {"../beside", "beside.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        Type({c.Typed});
        Save(c.Typed);
        EXPECT_EQ(Clip(c.File), c.Typed);
    }
    EXPECT_TRUE(FQuestions.empty());
}

TEST_F(ClipSavingTest, EmptyTypedNameNumbers)
{
    SetStyles(0, 1);
    Type({""});
    Save("x");
    EXPECT_EQ(Clip("980304/1.txt"), "x");
}

TEST_F(ClipSavingTest, TypedNameIntoMissingDirectoryFails)
{
    SetStyles(0, 1);
    Type({"nowhere/x"});
    EXPECT_EQ(SaveError("x"), 3);
    EXPECT_EQ(List("980304"), TNames{});
}

TEST_F(ClipSavingTest, TakenNameOverwritesOnlyAfterOk)
{
    SetStyles(0, 1);
    ASSERT_EQ(::mkdir("980304", 0777), 0);
    WriteFile("980304/memo.txt", "old and longer");

    Type({"memo", "memo", "other"});
    Answer({false, false});
    Save("one");
    EXPECT_EQ(Clip("980304/memo.txt"), "old and longer");
    EXPECT_EQ(Clip("980304/other.txt"), "one");

    Type({"memo"});
    Answer({true});
    Save("two");
    EXPECT_EQ(Clip("980304/memo.txt"), "two");
    EXPECT_EQ(FQuestions, TNames(3, "既に同じﾌｧｲﾙ名があります！上書きしますか？"));
}

TEST_F(ClipSavingTest, DateIsTakenBeforeThePrompt)
{
    SetStyles(0, 1);
    FClock.Set({1998, 3, 4, 23, 59, 30});
    OnPrompt = [this](int) { FClock.Set({1998, 3, 5, 0, 0, 10}); };
    Type({"late"});
    Save("x");
    EXPECT_EQ(Clip("980304/late.txt"), "x");
}

TEST_F(ClipSavingTest, NumberTakenByAnotherProcessMeanwhileIsSkipped)
{
    FFiles.BeforeOpen = [](const std::string& path) { WriteFile(path, "theirs"); };
    Save("mine");
    EXPECT_EQ(Clip("980304/1.txt"), "theirs");
    EXPECT_EQ(Clip("980304/2.txt"), "mine");
}

TEST_F(ClipSavingTest, TypedNameTakenByAnotherProcessMeanwhileAsks)
{
    SetStyles(0, 1);
    FFiles.BeforeOpen = [](const std::string& path) { WriteFile(path, "theirs"); };
    Type({"memo", "mine"});
    Answer({false});
    Save("mine");
    EXPECT_EQ(Clip("980304/memo.txt"), "theirs");
    EXPECT_EQ(Clip("980304/mine.txt"), "mine");
    EXPECT_EQ(FQuestions.size(), 1u);
}

TEST_F(ClipSavingTest, OverlongPathsAreRefusedBeforeAnythingIsCreated)
{
    SetStyles(0, 1);
    Type({std::string(252, 'n')});
    EXPECT_EQ(SaveError("x"), 3) << "a 256-byte name";

    FFiles.SetMaxPath(Base().size() + 14);
    Type({"abcd"}); // base + "/980304/abcd.txt" is 16 bytes past the base
    EXPECT_EQ(SaveError("x"), 3);
    Type({"ab"});
    Save("fits");
    EXPECT_EQ(List("980304"), TNames{"ab.txt"});
    EXPECT_EQ(FFiles.Opens(), 1);
}

TEST_F(ClipSavingTest, IoFailuresCloseTheFileAndReportTheirCode)
{
    const struct
    {
        const char* Name;
        std::function<void(TFaultyFileSystem&)> Arm;
        int Code;
        bool FileCreated;
    } cases[] = {
        {"directory", [](TFaultyFileSystem& f) { f.FailCreateDirectory(5); }, 5, false},
        {"write", [](TFaultyFileSystem& f) { f.FailWriteAfter(2, 112); }, 112, true},
        {"close", [](TFaultyFileSystem& f) { f.FailClose(112); }, 112, true},
        {"close after write",
         [](TFaultyFileSystem& f) {
             f.FailWriteAfter(2, 112);
             f.FailClose(5);
         },
         5, true},
    };
    int closes = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FClock.Set({2001, 1, static_cast<int>(&c - cases) + 1});
        c.Arm(FFiles);
        EXPECT_EQ(SaveError("abcdef"), c.Code);
        if (c.FileCreated) {
            EXPECT_EQ(FFiles.Closes(), ++closes) << "the file was left open";
        }
    }
    EXPECT_EQ(Clip("010102/1.txt"), "ab");
}

} // namespace
} // namespace quillbox::test
