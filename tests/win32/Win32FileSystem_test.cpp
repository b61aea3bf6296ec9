#include "TestRunner.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Handles.h"

#include <filesystem>
#include <fstream>
#include <functional>

namespace quillbox::win32::test {

namespace {

// A fresh directory of the test's own, the current directory while it lives.
class TTempDirectory
{
public:
    TTempDirectory()
    {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        FPath = std::filesystem::path(temp) / (L"quillbox-test-" + std::to_wstring(::GetCurrentProcessId()));
        std::filesystem::remove_all(FPath);
        std::filesystem::create_directories(FPath);
        FPrevious = std::filesystem::current_path();
        std::filesystem::current_path(FPath);
    }
    TTempDirectory(const TTempDirectory&) = delete;
    TTempDirectory& operator=(const TTempDirectory&) = delete;
    ~TTempDirectory()
    {
        std::filesystem::current_path(FPrevious);
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }

    // The UTF-8 path of `name` in the directory.
    std::string operator/(const std::string& name) const { return WideToUtf8((FPath / Utf8ToWide(name)).wstring()); }
    std::string Utf8() const { return WideToUtf8(FPath.wstring()); }

private:
    std::filesystem::path FPath;
    std::filesystem::path FPrevious;
};

std::string Contents(const std::string& path)
{
    std::ifstream in(std::filesystem::path(Utf8ToWide(path)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(IFileSystem& files, const std::string& path, TCreateMode mode, const std::string& bytes)
{
    auto file = files.OpenForWriting(path, mode);
    QB_CHECK(file != nullptr);
    file->Write(bytes);
    file->Close();
}

} // namespace

QB_TEST(Win32FileSystem, PathFitsTheMaxPathRules)
{
    const std::string drive = "C:\\";
    const struct
    {
        const char* Name;
        std::string Path;
        bool Fits;
    } cases[] = {
        {"259 units in all", drive + std::string(256, 'a'), false},
        {"a name of 255", drive + std::string(255, 'a'), true},
        {"a name of 256", drive + "d\\" + std::string(256, 'a'), false},
        {"259 units over several names", drive + std::string(200, 'a') + "\\" + std::string(55, 'b'), true},
        {"260 units", drive + std::string(200, 'a') + "\\" + std::string(56, 'b'), false},
        // Counted in UTF-16 units, not in UTF-8 bytes: 255 kanji are 765 bytes but fit.
        {"255 kanji in a name",
         drive +
             [] {
                 std::string name;
                 for (int i = 0; i < 255; ++i)
                     name += "日";
                 return name;
             }(),
         true},
        {"128 characters outside the BMP make 256 units",
         drive +
             [] {
                 std::string name;
                 for (int i = 0; i < 128; ++i)
                     name += "\xF0\x9F\x93\x8B";
                 return name;
             }(),
         false},
    };
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        QB_CHECK_EQ(FitsMaxPath(c.Path), c.Fits);
    }
}

QB_TEST(Win32FileSystem, RelativePathsCountTheCurrentDirectory)
{
    const TTempDirectory dir;
    TWin32FileSystem files;
    const std::size_t room = MAX_PATH - 1 - Utf8ToWide(dir.Utf8()).size() - 1;
    QB_CHECK(files.PathFits(std::string(room < 255 ? room : 255, 'a')));
    QB_CHECK(!files.PathFits(std::string(room / 2, 'a') + "\\" + std::string(room - room / 2, 'b')));
}

QB_TEST(Win32FileSystem, CreateNewNeverReplacesAnEntry)
{
    const TTempDirectory dir;
    TWin32FileSystem files;
    Write(files, dir / "1.txt", TCreateMode::CreateNew, "first");
    QB_CHECK(files.OpenForWriting(dir / "1.txt", TCreateMode::CreateNew) == nullptr);
    QB_CHECK_EQ(Contents(dir / "1.txt"), std::string("first"));
    files.CreateDirectory(dir / "2.txt");
    QB_CHECK(files.OpenForWriting(dir / "2.txt", TCreateMode::CreateNew) == nullptr);
    QB_CHECK(files.DirectoryExists(dir / "2.txt"));
}

QB_TEST(Win32FileSystem, CreateAlwaysReplacesTheBytes)
{
    const TTempDirectory dir;
    TWin32FileSystem files;
    Write(files, dir / "name.txt", TCreateMode::CreateAlways, "a longer first text");
    // The clip's bytes exactly: no line end or terminator, and CP932 passes untouched.
    Write(files, dir / "name.txt", TCreateMode::CreateAlways, "\x93\xfa\x96\x7b\r\n");
    QB_CHECK_EQ(Contents(dir / "name.txt"), std::string("\x93\xfa\x96\x7b\r\n"));
}

QB_TEST(Win32FileSystem, NamesAreUnicode)
{
    const TTempDirectory dir;
    TWin32FileSystem files;
    files.CreateDirectory(dir / "98年03月04日(水)");
    Write(files, dir / "98年03月04日(水)\\メモ.txt", TCreateMode::CreateNew, "x");
    QB_CHECK(
        std::filesystem::exists(std::filesystem::path(Utf8ToWide(dir.Utf8())) / L"98年03月04日(水)" / L"メモ.txt"));
    QB_CHECK(files.FileExists(dir / "98年03月04日(水)\\メモ.txt"));
}

QB_TEST(Win32FileSystem, ExistenceTellsFilesFromDirectories)
{
    const TTempDirectory dir;
    TWin32FileSystem files;
    files.CreateDirectory(dir / "d");
    Write(files, dir / "f", TCreateMode::CreateNew, "");
    const struct
    {
        const char* Name;
        bool Directory;
        bool File;
    } cases[] = {{"d", true, false}, {"f", false, true}, {"missing", false, false}};
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        QB_CHECK_EQ(files.DirectoryExists(dir / c.Name), c.Directory);
        QB_CHECK_EQ(files.FileExists(dir / c.Name), c.File);
    }
}

QB_TEST(Win32FileSystem, FailuresCarryTheWindowsCode)
{
    const TTempDirectory dir;
    TWin32FileSystem files;
    files.CreateDirectory(dir / "d");
    const struct
    {
        const char* Name;
        std::function<void()> Step;
        int Code;
        const char* Message;
    } cases[] = {
        {"a file in a missing directory", [&] { files.OpenForWriting(dir / "none\\1.txt", TCreateMode::CreateNew); },
         ERROR_PATH_NOT_FOUND, "不正なﾌｧｲﾙ名です"},
        {"a directory that exists", [&] { files.CreateDirectory(dir / "d"); }, ERROR_ALREADY_EXISTS, "I/O ｴﾗｰ (183)"},
        {"a directory in a missing one", [&] { files.CreateDirectory(dir / "none\\d"); }, ERROR_PATH_NOT_FOUND,
         "不正なﾌｧｲﾙ名です"},
        {"a name Windows refuses", [&] { files.OpenForWriting(dir / "a?.txt", TCreateMode::CreateNew); },
         ERROR_INVALID_NAME, "I/O ｴﾗｰ (123)"},
    };
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        EInOutError caught(0);
        QB_CHECK_THROWS(EInOutError, c.Step(), caught);
        QB_CHECK_EQ(caught.ErrorCode(), c.Code);
        QB_CHECK_EQ(caught.Message(), std::string(c.Message));
    }
}

QB_TEST(Win32FileSystem, AnOpenClipFileCanBeReadButNotWritten)
{
    const TTempDirectory dir;
    TWin32FileSystem files;
    auto file = files.OpenForWriting(dir / "1.txt", TCreateMode::CreateNew);
    file->Write("partial");
    const auto openOther = [&](DWORD access) {
        return TUniqueFile(::CreateFileW(Utf8ToWide(dir / "1.txt").c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    };
    QB_CHECK(openOther(GENERIC_READ).Valid());
    const TUniqueFile writer = openOther(GENERIC_WRITE);
    QB_CHECK(!writer.Valid());
    QB_CHECK_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    file->Close();
}

QB_TEST(Win32FileSystem, CurrentDirectoryIsAbsoluteWithoutATrailingDelimiter)
{
    const TTempDirectory dir;
    TWin32FileSystem files;
    QB_CHECK_EQ(files.CurrentDirectory(), dir.Utf8());
    QB_CHECK_EQ(files.PathDelimiter(), '\\');
}

} // namespace quillbox::win32::test
