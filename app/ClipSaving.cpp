#include "app/ClipSaving.h"

#include "platform/Exceptions.h"
#include "settings/RegIniFile.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace quillbox {

namespace {

constexpr std::array<std::string_view, 4> KDatePatterns = {
    "yymmdd",
    "yymmdd(aaa)",
    R"(yy"年"mm"月"dd"日")",
    R"(yy"年"mm"月"dd"日"(aaa))",
};

// Refuses a path the platform's file open would not take whole, before anything is created, so that
// nothing is ever written under a name other than the one tested.
void CheckPathLength(const std::string& path, const IFileSystem& files)
{
    if (!files.PathFits(path))
        throw EInOutError(oscode::PathNotFound);
}

// Opens `path` as a new file; null when an entry of that name appeared since it was tested. A
// directory in the way is refused as the platform refuses writing to a directory.
std::unique_ptr<IClipFile> OpenNew(IFileSystem& files, const std::string& path)
{
    CheckPathLength(path, files);
    auto file = files.OpenForWriting(path, TCreateMode::CreateNew);
    if (!file && files.DirectoryExists(path))
        throw EInOutError(oscode::AccessDenied);
    return file;
}

std::unique_ptr<IClipFile> OpenNumbered(IFileSystem& files, const std::string& prefix)
{
    for (unsigned long long n = 1;; ++n) {
        const std::string path = prefix + std::to_string(n) + ".txt";
        if (files.FileExists(path))
            continue;
        if (auto file = OpenNew(files, path))
            return file;
    }
}

std::unique_ptr<IClipFile> OpenTyped(const TCaptureServices& services, const std::string& prefix)
{
    for (;;) {
        const std::string name = services.NameRequest();
        if (name.empty())
            return OpenNumbered(services.Files, prefix);
        const std::string path = prefix + name + ".txt";
        CheckPathLength(path, services.Files);
        if (!services.Files.FileExists(path)) {
            if (auto file = OpenNew(services.Files, path))
                return file;
        }
        // Taken, whether it was there when tested or another process made it since.
        if (services.ConfirmOverwrite(KOverwriteQuestion))
            return services.Files.OpenForWriting(path, TCreateMode::CreateAlways);
    }
}

} // namespace

std::string DateDirectoryName(std::int32_t dnumber, const TLocalDateTime& date)
{
    const auto style = dnumber >= 0 && dnumber < static_cast<std::int32_t>(KDatePatterns.size())
                           ? static_cast<std::size_t>(dnumber)
                           : 0;
    return FormatDateTime(KDatePatterns[style], date);
}

void SaveClip(const TCaptureServices& services, const std::string& text)
{
    std::int32_t dnumber = 0;
    std::int32_t fnumber = 0;
    {
        TRegIniFile store(services.Registry, "\\Software\\Quillbox");
        dnumber = store.ReadInteger("Directory", "DNumber", 0);
        fnumber = store.ReadInteger("File", "FNumber", 0);
    }

    const std::string directory = DateDirectoryName(dnumber, services.Clock.Now());
    if (!services.Files.DirectoryExists(directory))
        services.Files.CreateDirectory(directory);

    const std::string delimiter(1, services.Files.PathDelimiter());
    const std::string prefix = services.Files.CurrentDirectory() + delimiter + directory + delimiter;
    // Any style but the typed names numbers the clip: nothing is ever written to a bare ".txt".
    auto file = fnumber == 1 ? OpenTyped(services, prefix) : OpenNumbered(services.Files, prefix);

    try {
        file->Write(text);
    } catch (...) {
        // The file is closed on the way out; a failing close reports instead of the write.
        file->Close();
        throw;
    }
    file->Close();
}

} // namespace quillbox
