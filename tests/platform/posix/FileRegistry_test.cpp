#include "platform/posix/FileRegistry.h"

#include "fake/TempDir.h"
#include "platform/posix/RegFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quillbox::posix {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

const std::string VersionLine = "Windows Registry Editor Version 5.00\n\n";

unsigned PermissionBits(const std::string& path)
{
    struct stat info = {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::set<std::string> DirectoryEntries(const std::string& dir)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// A registry file at <temp>/Quillbox/registry.reg, whose directory does not exist yet.
class TFileRegistryTest : public testing::Test
{
protected:
    TFileRegistryTest() : FConfigDir(FTemp.Path() + "/Quillbox"), FFile(FConfigDir + "/registry.reg"), FRegistry(FFile)
    {
    }

    void WriteByHand(const std::string& text)
    {
        fs::create_directories(FConfigDir);
        test::WriteFile(FFile, text);
    }

    // Sets one value, the way the settings store does: create the key, set, close.
    static long Set(IRegistry& registry, const std::string& subKey, const std::string& name, TRegType type,
                    const std::string& data)
    {
        TRegKey key = 0;
        if (const long status = registry.CreateKey(registry.CurrentUser(), subKey, key); status != regstatus::Success)
            return status;
        const long status = registry.SetValue(key, name, type, data);
        registry.CloseKey(key);
        return status;
    }

    // The value's data, or nullopt with status set when the key cannot be opened or the value read.
    static std::optional<std::string> Get(IRegistry& registry, const std::string& subKey, const std::string& name,
                                          long& status, TRegType* type = nullptr)
    {
        TRegKey key = 0;
        status = registry.OpenKey(registry.CurrentUser(), subKey, key);
        if (status != regstatus::Success)
            return std::nullopt;
        TRegType valueType = TRegType::None;
        std::string data;
        std::size_t size = 1 << 20;
        status = registry.QueryValue(key, name, valueType, &data, size);
        registry.CloseKey(key);
        if (status != regstatus::Success)
            return std::nullopt;
        if (type != nullptr)
            *type = valueType;
        return data;
    }

    test::TTempDir FTemp;
    std::string FConfigDir;
    std::string FFile;
    TFileRegistry FRegistry;
};

TEST_F(TFileRegistryTest, WritesKeysAndValuesInRegeditFormWithPrivatePermissions)
{
    TRegKey product = 0, section = 0;
    ASSERT_EQ(FRegistry.CreateKey(FRegistry.CurrentUser(), "Software\\Quillbox", product), regstatus::Success);
    ASSERT_EQ(FRegistry.CreateKey(product, "Directory", section), regstatus::Success);
    ASSERT_EQ(FRegistry.SetValue(section, "DNumber", TRegType::Sz, "3"), regstatus::Success);

    EXPECT_EQ(test::ReadFile(FFile), VersionLine + "[HKEY_CURRENT_USER\\Software\\Quillbox]\n\n"
                                                   "[HKEY_CURRENT_USER\\Software\\Quillbox\\Directory]\n"
                                                   "\"DNumber\"=\"3\"\n\n");
    EXPECT_EQ(PermissionBits(FConfigDir), 0700u);
    EXPECT_EQ(PermissionBits(FFile), 0600u);
    EXPECT_EQ(DirectoryEntries(FConfigDir), (std::set<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST_F(TFileRegistryTest, OpeningAndReadingAMissingFileFindNothingAndCreateNothing)
{
    TRegKey key = 123;
    EXPECT_EQ(FRegistry.OpenKey(FRegistry.CurrentUser(), "Software\\Quillbox", key), regstatus::FileNotFound);
    EXPECT_EQ(key, 0u);
    long status = 0;
    EXPECT_EQ(Get(FRegistry, "", "DNumber", status), std::nullopt);
    EXPECT_EQ(status, regstatus::FileNotFound);
    EXPECT_FALSE(fs::exists(FTemp.Path() + "/Quillbox"));
}

TEST_F(TFileRegistryTest, OpensListedKeysAndTheirAncestorsWithoutRewriting)
{
    const std::string text = "; kept by hand\n[hkey_current_user\\software\\quillbox\\directory]\n\"DNumber\"=\"3\"\n";
    WriteByHand(text);

    const struct
    {
        const char* SubKey;
        long Status;
    } cases[] = {
        {"Software", regstatus::Success},
        {"Software\\Quillbox", regstatus::Success},
        {"SOFTWARE\\QUILLBOX\\DIRECTORY", regstatus::Success},
        {"Software\\Quillbox\\File", regstatus::FileNotFound},
        {"Software\\Quill", regstatus::FileNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.SubKey);
        TRegKey key = 0;
        EXPECT_EQ(FRegistry.OpenKey(FRegistry.CurrentUser(), c.SubKey, key), c.Status);
        EXPECT_EQ(key != 0, c.Status == regstatus::Success);
        FRegistry.CloseKey(key);
    }

    // Creating a key that exists opens it: the file, comment included, is not rewritten.
    TRegKey key = 0;
    ASSERT_EQ(FRegistry.CreateKey(FRegistry.CurrentUser(), "Software\\Quillbox", key), regstatus::Success);
    EXPECT_EQ(test::ReadFile(FFile), text);
    EXPECT_FALSE(fs::exists(FFile + ".lock"));
}

TEST_F(TFileRegistryTest, QueryValueGivesTypeAndSizeOrDataAsCapacityAllows)
{
    ASSERT_EQ(Set(FRegistry, "Software\\Quillbox", "Name", TRegType::ExpandSz, "abc"), regstatus::Success);
    TRegKey key = 0;
    ASSERT_EQ(FRegistry.OpenKey(FRegistry.CurrentUser(), "Software\\Quillbox", key), regstatus::Success);

    const struct
    {
        const char* Title;
        bool WithData;
        std::size_t Capacity;
        long Status;
        std::size_t Size;
        std::string Data;
    } cases[] = {
        {"size only", false, 0, regstatus::Success, 3, "untouched"},
        {"too small", true, 2, regstatus::MoreData, 3, "untouched"},
        {"exact", true, 3, regstatus::Success, 3, "abc"},
        {"larger", true, 100, regstatus::Success, 3, "abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        TRegType type = TRegType::None;
        std::string data = "untouched";
        std::size_t size = c.Capacity;
        EXPECT_EQ(FRegistry.QueryValue(key, "NAME", type, c.WithData ? &data : nullptr, size), c.Status);
        EXPECT_EQ(type, TRegType::ExpandSz);
        EXPECT_EQ(size, c.Size);
        EXPECT_EQ(data, c.Data);
    }

    TRegType type = TRegType::None;
    std::size_t size = 0;
    EXPECT_EQ(FRegistry.QueryValue(key, "Missing", type, nullptr, size), regstatus::FileNotFound);
    EXPECT_EQ(FRegistry.QueryValue(FRegistry.CurrentUser(), "Name", type, nullptr, size), regstatus::FileNotFound);
}

TEST_F(TFileRegistryTest, HandlesAndArgumentsAreChecked)
{
    TRegKey key = 0;
    ASSERT_EQ(FRegistry.CreateKey(FRegistry.CurrentUser(), "Software", key), regstatus::Success);
    EXPECT_NE(key, 0u);
    EXPECT_NE(key, FRegistry.CurrentUser());
    TRegKey same = 0;
    ASSERT_EQ(FRegistry.OpenKey(key, "", same), regstatus::Success);
    EXPECT_NE(same, key);
    ASSERT_EQ(FRegistry.CloseKey(key), regstatus::Success);

    TRegType type = TRegType::None;
    std::size_t size = 0;
    TRegKey out = 0;
    const TRegKey root = FRegistry.CurrentUser();
    const struct
    {
        const char* Title;
        long Status;
        long Expected;
    } cases[] = {
        {"close twice", FRegistry.CloseKey(key), regstatus::InvalidHandle},
        {"close unknown", FRegistry.CloseKey(4242), regstatus::InvalidHandle},
        {"close root", FRegistry.CloseKey(root), regstatus::Success},
        {"open below closed", FRegistry.OpenKey(key, "x", out), regstatus::InvalidHandle},
        {"create below closed", FRegistry.CreateKey(key, "x", out), regstatus::InvalidHandle},
        {"query closed", FRegistry.QueryValue(key, "v", type, nullptr, size), regstatus::InvalidHandle},
        {"set closed", FRegistry.SetValue(key, "v", TRegType::Sz, "1"), regstatus::InvalidHandle},
        {"leading backslash", FRegistry.CreateKey(root, "\\Software", out), regstatus::InvalidParameter},
        {"empty level", FRegistry.OpenKey(root, "Software\\\\Quillbox", out), regstatus::InvalidParameter},
        {"trailing backslash", FRegistry.CreateKey(root, "Software\\", out), regstatus::InvalidParameter},
        {"control character in key", FRegistry.CreateKey(root, "Soft\nware", out), regstatus::InvalidParameter},
        {"control character in value name", FRegistry.SetValue(same, "a\nb", TRegType::Sz, "1"),
         regstatus::InvalidParameter},
        {"handle still open after its twin closed", FRegistry.SetValue(same, "v", TRegType::Sz, "1"),
         regstatus::Success},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        EXPECT_EQ(c.Status, c.Expected);
    }
    EXPECT_EQ(test::ReadFile(FFile), VersionLine + "[HKEY_CURRENT_USER\\Software]\n\"v\"=\"1\"\n\n");
}

TEST_F(TFileRegistryTest, EveryObjectSeesWhatAnyOtherWroteBefore)
{
    TFileRegistry other(FFile);
    long status = 0;
    ASSERT_EQ(Set(FRegistry, "Software\\Quillbox\\Directory", "DNumber", TRegType::Sz, "1"), regstatus::Success);
    EXPECT_EQ(Get(other, "Software\\Quillbox\\Directory", "DNumber", status), "1");
    ASSERT_EQ(Set(other, "software\\quillbox\\directory", "dnumber", TRegType::Sz, "2"), regstatus::Success);
    EXPECT_EQ(Get(FRegistry, "Software\\Quillbox\\Directory", "DNumber", status), "2");

    // An edit by another program, here by hand, shows at the next read, with no new object made.
    WriteByHand("\xEF\xBB\xBF[HKEY_CURRENT_USER\\Software\\Quillbox\\Directory]\r\n\"DNumber\"=dword:00000007\r\n"
                "@=hex(1):61,00\r\n");
    TRegType type = TRegType::None;
    EXPECT_EQ(Get(FRegistry, "Software\\Quillbox\\Directory", "DNumber", status, &type), "\x07\0\0\0"s);
    EXPECT_EQ(type, TRegType::Dword);
    EXPECT_EQ(Get(FRegistry, "Software\\Quillbox\\Directory", "", status, &type), "a\0"s);
    EXPECT_EQ(type, TRegType::Sz);
}

TEST_F(TFileRegistryTest, AMalformedFileIsReportedOnceAndNeverWritten)
{
    const std::string text = "[HKEY_CURRENT_USER\\Software\\Quillbox\\Directory]\n\"DNumber\"=\"1\"\n\"FNumber\"=\"2\n";
    WriteByHand(text);
    ::chmod(FFile.c_str(), 0644);

    TFileRegistry other(FFile);
    testing::internal::CaptureStderr();
    TRegKey key = 0;
    const TRegKey root = FRegistry.CurrentUser();
    long status = 0;
    const long statuses[] = {
        FRegistry.OpenKey(root, "Software\\Quillbox", key),
        FRegistry.CreateKey(root, "Software\\Quillbox\\File", key),
        Set(FRegistry, "Software\\Quillbox\\Directory", "DNumber", TRegType::Sz, "5"),
        FRegistry.SetValue(root, "v", TRegType::Sz, "5"),
        (Get(FRegistry, "", "v", status), status),
        (Get(other, "Software\\Quillbox\\Directory", "DNumber", status), status),
    };
    const std::string told = testing::internal::GetCapturedStderr();

    for (const long s : statuses)
        EXPECT_EQ(s, regstatus::BadDatabase);
    EXPECT_EQ(told, "quillbox: " + FFile +
                        ":3: unterminated quoted string; using default settings and leaving the file unchanged\n");
    EXPECT_EQ(test::ReadFile(FFile), text);
    EXPECT_EQ(PermissionBits(FFile), 0644u);
    EXPECT_EQ(DirectoryEntries(FConfigDir), (std::set<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST_F(TFileRegistryTest, ARewriteKeepsOtherKeysValuesAndPermissions)
{
    WriteByHand("; comments are not kept\n"
                "[HKEY_LOCAL_MACHINE\\Software\\Quillbox]\n\"Machine\"=dword:00000001\n"
                "[HKEY_CURRENT_USER\\Software\\Quillbox\\Directory]\n\"Future\"=hex(7):61,00,00,00\n"
                "\"DNumber\"=\"1\"\n"
                "[HKEY_CURRENT_USER\\Software\\Other]\n@=hex:\n");
    ::chmod(FFile.c_str(), 0640);

    ASSERT_EQ(Set(FRegistry, "Software\\Quillbox\\Directory", "DNumber", TRegType::Sz, "2"), regstatus::Success);
    ASSERT_EQ(Set(FRegistry, "Software\\Quillbox\\File", "FNumber", TRegType::Sz, "0"), regstatus::Success);

    EXPECT_EQ(test::ReadFile(FFile), VersionLine +
                                         "[HKEY_LOCAL_MACHINE\\Software\\Quillbox]\n\"Machine\"=dword:00000001\n\n"
                                         "[HKEY_CURRENT_USER\\Software\\Quillbox\\Directory]\n"
                                         "\"Future\"=hex(7):61,00,00,00\n\"DNumber\"=\"2\"\n\n"
                                         "[HKEY_CURRENT_USER\\Software\\Other]\n@=hex:\n\n"
                                         "[HKEY_CURRENT_USER\\Software\\Quillbox\\File]\n\"FNumber\"=\"0\"\n\n");
    EXPECT_EQ(PermissionBits(FFile), 0640u);
    EXPECT_EQ(DirectoryEntries(FConfigDir), (std::set<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST_F(TFileRegistryTest, AFileThatCannotBeReadOrWrittenGivesItsStatus)
{
    const struct
    {
        const char* Title;
        void (*Arrange)(const std::string& dir, const std::string& file);
        long ReadStatus;  // of OpenKey
        long WriteStatus; // of SetValue and CreateKey
        bool StopsRoot;   // permission bits do not stop root
    } cases[] = {
        {"file is a directory", [](const std::string&, const std::string& file) { fs::create_directories(file); },
         regstatus::AccessDenied, regstatus::AccessDenied, true},
        {"directory is a file",
         [](const std::string& dir, const std::string&) {
             fs::create_directories(fs::path(dir).parent_path());
             test::WriteFile(dir, "");
         },
         regstatus::FileNotFound, regstatus::WriteFault, true},
        {"file unreadable",
         [](const std::string& dir, const std::string& file) {
             fs::create_directories(dir);
             test::WriteFile(file, "[HKEY_CURRENT_USER\\Software]\n");
             ::chmod(file.c_str(), 0);
         },
         regstatus::AccessDenied, regstatus::AccessDenied, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        if (!c.StopsRoot && ::geteuid() == 0)
            continue;
        const test::TTempDir temp;
        const std::string dir = temp.Path() + "/Quillbox", file = dir + "/registry.reg";
        c.Arrange(dir, file);
        TFileRegistry registry(file);
        TRegKey key = 0;
        EXPECT_EQ(registry.OpenKey(registry.CurrentUser(), "Software", key), c.ReadStatus);
        EXPECT_EQ(registry.SetValue(registry.CurrentUser(), "v", TRegType::Sz, "1"), c.WriteStatus);
        EXPECT_EQ(registry.CreateKey(registry.CurrentUser(), "Software\\New", key), c.WriteStatus);
    }
}

// Children rewrite the file concurrently, each through its own object; the lock must serialize their
// read-modify-write cycles so that no child's value is lost.
TEST_F(TFileRegistryTest, ConcurrentWritersLoseNoUpdate)
{
    constexpr int Children = 4, ValuesEach = 15;
    std::fflush(nullptr);
    std::vector<pid_t> children;
    for (int child = 0; child < Children; ++child) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            TFileRegistry registry(FFile);
            int failures = 0;
            for (int i = 0; i < ValuesEach; ++i) {
                const std::string name = "C" + std::to_string(child) + "_" + std::to_string(i);
                failures += Set(registry, "Software\\Quillbox", name, TRegType::Sz, name) != regstatus::Success;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int wstatus = 0;
        ASSERT_EQ(::waitpid(pid, &wstatus, 0), pid);
        EXPECT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0);
    }

    TRegFileTree tree;
    TRegParseError error;
    ASSERT_TRUE(ParseRegFile(test::ReadFile(FFile), tree, error)) << error.Line << ": " << error.Message;
    const TRegFileKey* key = tree.FindKey("HKEY_CURRENT_USER\\Software\\Quillbox");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->Values().size(), std::size_t{Children * ValuesEach});
    for (int child = 0; child < Children; ++child)
        for (int i = 0; i < ValuesEach; ++i) {
            const std::string name = "C" + std::to_string(child) + "_" + std::to_string(i);
            const TRegFileValue* value = key->FindValue(name);
            EXPECT_TRUE(value != nullptr && value->Data == name) << name;
        }
    EXPECT_EQ(DirectoryEntries(FConfigDir), (std::set<std::string>{"registry.reg", "registry.reg.lock"}));
}

// A writer killed at any moment leaves the file whole: the last value it completed, or the one before, and
// an untouched payload beside it. The next write clears the temporary file a killed writer left behind.
TEST_F(TFileRegistryTest, AWriterKilledAtAnyMomentLeavesAWholeFile)
{
    const std::string payload(3000, '\x5a');
    ASSERT_EQ(Set(FRegistry, "Software\\Quillbox", "Payload", TRegType::Binary, payload), regstatus::Success);
    ASSERT_EQ(Set(FRegistry, "Software\\Quillbox", "Counter", TRegType::Sz, "0"), regstatus::Success);

    std::mt19937 random(20240601);
    long last = 0;
    std::fflush(nullptr);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            TFileRegistry registry(FFile);
            for (;;) {
                long status = 0;
                const auto counter = Get(registry, "Software\\Quillbox", "Counter", status);
                if (!counter)
                    ::_exit(1);
                Set(registry, "Software\\Quillbox", "Counter", TRegType::Sz, std::to_string(std::stol(*counter) + 1));
            }
        }
        // Let the writer complete one write, reading beside it all the while, then kill it somewhere in a
        // later one.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (long seen = last; seen == last && std::chrono::steady_clock::now() < deadline;) {
            long status = 0;
            const auto counter = Get(FRegistry, "Software\\Quillbox", "Counter", status);
            ASSERT_TRUE(counter.has_value()) << status;
            seen = std::stol(*counter);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random)));
        ::kill(pid, SIGKILL);
        int wstatus = 0;
        ASSERT_EQ(::waitpid(pid, &wstatus, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(wstatus)) << "the writer stopped on its own";

        long status = 0;
        const auto counter = Get(FRegistry, "Software\\Quillbox", "Counter", status);
        ASSERT_TRUE(counter.has_value()) << status;
        EXPECT_GT(std::stol(*counter), last);
        last = std::stol(*counter);
        EXPECT_EQ(Get(FRegistry, "Software\\Quillbox", "Payload", status), payload);
    }
    ASSERT_EQ(Set(FRegistry, "Software\\Quillbox", "Counter", TRegType::Sz, "done"), regstatus::Success);
    EXPECT_EQ(DirectoryEntries(FConfigDir), (std::set<std::string>{"registry.reg", "registry.reg.lock"}));
}

class TFileRegistryDefaultPath : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"})
            if (const char* value = std::getenv(name))
                FSaved.emplace_back(name, value);
    }

    void TearDown() override
    {
        ::unsetenv("XDG_CONFIG_HOME");
        for (const auto& [name, value] : FSaved)
            ::setenv(name.c_str(), value.c_str(), 1);
    }

    std::vector<std::pair<std::string, std::string>> FSaved;
};

TEST_F(TFileRegistryDefaultPath, FollowsXdgConfigHomeOrFallsBackToHome)
{
    const struct
    {
        const char* Xdg; // null: unset
        const char* Expected;
    } cases[] = {
        {"/x/cfg", "/x/cfg/Quillbox/registry.reg"},
        {nullptr, "/home/u/.config/Quillbox/registry.reg"},
        {"", "/home/u/.config/Quillbox/registry.reg"},
        {"relative/cfg", "/home/u/.config/Quillbox/registry.reg"},
    };
    ::setenv("HOME", "/home/u", 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Xdg == nullptr ? "unset" : c.Xdg);
        if (c.Xdg == nullptr)
            ::unsetenv("XDG_CONFIG_HOME");
        else
            ::setenv("XDG_CONFIG_HOME", c.Xdg, 1);
        EXPECT_EQ(TFileRegistry::DefaultPath(), fs::path(c.Expected));
    }
}

} // namespace
} // namespace quillbox::posix
