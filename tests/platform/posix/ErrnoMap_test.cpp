#include "platform/Exceptions.h"
#include "platform/posix/ErrnoMap.h"
#include "platform/posix/PosixFileSystem.h"

#include "fake/TempDir.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace quillbox::posix {
namespace {

TEST(ErrnoMap, GivesTheWindowsCodeOfTheSameMeaning)
{
    const struct
    {
        int Errno;
        TErrnoContext Context;
        int Code;
    } cases[] = {
        {ENOENT, TErrnoContext::Lookup, 2},   {ENOENT, TErrnoContext::Create, 3},
        {ENOTDIR, TErrnoContext::Create, 3},  {ENAMETOOLONG, TErrnoContext::Create, 3},
        {EMFILE, TErrnoContext::Create, 4},   {ENFILE, TErrnoContext::Lookup, 4},
        {EACCES, TErrnoContext::Create, 5},   {EPERM, TErrnoContext::Create, 5},
        {EROFS, TErrnoContext::Create, 5},    {EISDIR, TErrnoContext::Create, 5},
        {ENOSPC, TErrnoContext::Lookup, 112}, {EDQUOT, TErrnoContext::Lookup, 112},
        {EEXIST, TErrnoContext::Create, 183},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Errno);
        EXPECT_EQ(OsCodeFromErrno(c.Errno, c.Context), c.Code);
    }
}

// The codes the real calls give for the failures a capture meets.
class PosixFileSystemTest : public ::testing::Test
{
protected:
    int CodeOf(const std::function<void()>& step)
    {
        try {
            step();
        } catch (const EInOutError& e) {
            return e.ErrorCode();
        }
        return 0;
    }

    test::TTempDir FDir{true};
    TPosixFileSystem FFiles;
};

TEST_F(PosixFileSystemTest, FailuresCarryMeaningfulCodes)
{
    test::WriteFile("plain", "x");
    ASSERT_EQ(::mkdir("dir", 0777), 0);
    EXPECT_EQ(CodeOf([&] { FFiles.CreateDirectory("plain"); }), 183);
    EXPECT_EQ(CodeOf([&] { FFiles.CreateDirectory("missing/child"); }), 3);
    EXPECT_EQ(CodeOf([&] { FFiles.OpenForWriting("missing/1.txt", TCreateMode::CreateNew); }), 3);
    EXPECT_EQ(CodeOf([&] { FFiles.OpenForWriting("plain/1.txt", TCreateMode::CreateNew); }), 3);
    EXPECT_EQ(CodeOf([&] { FFiles.OpenForWriting("dir", TCreateMode::CreateAlways); }), 5);
    EXPECT_EQ(CodeOf([&] { FFiles.OpenForWriting(std::string(300, 'n'), TCreateMode::CreateNew); }), 3);
    EXPECT_EQ(CodeOf([&] {
                  auto full = FFiles.OpenForWriting("/dev/full", TCreateMode::CreateAlways);
                  full->Write("x");
              }),
              112);
}

TEST_F(PosixFileSystemTest, ExistenceTestsTellFilesFromDirectories)
{
    test::WriteFile("plain", "x");
    ASSERT_EQ(::mkdir("dir", 0777), 0);
    EXPECT_TRUE(FFiles.FileExists("plain"));
    EXPECT_FALSE(FFiles.FileExists("dir"));
    EXPECT_FALSE(FFiles.FileExists("none"));
    EXPECT_TRUE(FFiles.DirectoryExists("dir"));
    EXPECT_FALSE(FFiles.DirectoryExists("plain"));
    EXPECT_EQ(FFiles.CurrentDirectory(), FDir.Path());
}

TEST_F(PosixFileSystemTest, CreateNewRefusesAnyExistingEntryAndCreateAlwaysTruncates)
{
    test::WriteFile("plain", "old content");
    ASSERT_EQ(::mkdir("dir", 0777), 0);
    EXPECT_EQ(FFiles.OpenForWriting("plain", TCreateMode::CreateNew), nullptr);
    EXPECT_EQ(FFiles.OpenForWriting("dir", TCreateMode::CreateNew), nullptr);
    EXPECT_EQ(test::ReadFile("plain"), "old content");

    auto file = FFiles.OpenForWriting("plain", TCreateMode::CreateAlways);
    file->Write("new");
    file->Close();
    EXPECT_EQ(test::ReadFile("plain"), "new");
}

} // namespace
} // namespace quillbox::posix

namespace quillbox::posix {
namespace {

TEST(PosixPathFits, LimitsThePathAndEachName)
{
    const TPosixFileSystem files;
    const std::string name255(255, 'n');
    const struct
    {
        std::string Path;
        bool Fits;
    } cases[] = {
        {"/base/" + name255, true},
        {"/base/" + name255 + "x", false},
        {"/base/" + name255 + "x/1.txt", false},
        {std::string(4095 - 4, 'a').replace(0, 1, "/") + "/b/c", false},
        {[] {
             std::string path;
             while (path.size() + 101 <= 4095)
                 path += "/" + std::string(100, 'd');
             return path;
         }(),
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path.size());
        EXPECT_EQ(files.PathFits(c.Path), c.Fits);
    }
    EXPECT_FALSE(files.PathFits(std::string(4096, '/')));
}

} // namespace
} // namespace quillbox::posix
