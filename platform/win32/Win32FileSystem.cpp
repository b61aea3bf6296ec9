#include "platform/win32/Win32FileSystem.h"

#include "platform/Exceptions.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Handles.h"

#include "platform/win32/Win32Api.h"

#include <algorithm>
#include <vector>

namespace quillbox::win32 {

namespace {

constexpr std::size_t KMaxPath = MAX_PATH - 1; // MAX_PATH counts the terminating zero
constexpr std::size_t KMaxName = 255;

[[noreturn]] void RaiseLastError()
{
    throw EInOutError(static_cast<int>(::GetLastError()));
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// "C:\...", "\\server\share\..." and "\..." (the current drive's root) are taken as they are;
// anything else is relative to the current directory.
bool IsRooted(std::wstring_view path)
{
    return (path.size() >= 1 && IsSeparator(path[0])) || (path.size() >= 2 && path[1] == L':');
}

std::wstring CurrentDirectoryWide()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            RaiseLastError();
        if (length < buffer.size())
            return {buffer.data(), length};
        buffer.resize(length);
    }
}

DWORD Attributes(const std::string& path)
{
    return ::GetFileAttributesW(Utf8ToWide(path).c_str());
}

// A clip file on a handle from CreateFileW. Writes go straight to the file, so a full disk is
// reported by the Write that meets it.
class TWin32ClipFile final : public IClipFile
{
public:
    explicit TWin32ClipFile(HANDLE file) : FFile(file) {}

    void Write(std::string_view bytes) override
    {
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(FFile.Get(), bytes.data(), chunk, &written, nullptr))
                RaiseLastError();
            bytes.remove_prefix(written);
        }
    }

    void Close() override
    {
        // The handle is gone whether or not CloseHandle reports an error, so it is never retried.
        if (!::CloseHandle(FFile.Release()))
            RaiseLastError();
    }

private:
    TUniqueFile FFile;
};

} // namespace

bool FitsMaxPath(std::string_view fullPath)
{
    const std::wstring wide = Utf8ToWide(fullPath);
    if (wide.size() > KMaxPath)
        return false;
    std::size_t start = 0;
    for (;;) {
        const auto end = std::find_if(wide.begin() + static_cast<std::ptrdiff_t>(start), wide.end(), IsSeparator);
        const auto endIndex = static_cast<std::size_t>(end - wide.begin());
        if (endIndex - start > KMaxName)
            return false;
        if (end == wide.end())
            return true;
        start = endIndex + 1;
    }
}

bool TWin32FileSystem::PathFits(const std::string& path) const
{
    if (IsRooted(Utf8ToWide(path)))
        return FitsMaxPath(path);
    return FitsMaxPath(WideToUtf8(CurrentDirectoryWide()) + "\\" + path);
}

bool TWin32FileSystem::DirectoryExists(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void TWin32FileSystem::CreateDirectory(const std::string& path)
{
    if (!::CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr))
        RaiseLastError();
}

std::string TWin32FileSystem::CurrentDirectory()
{
    return WideToUtf8(CurrentDirectoryWide());
}

bool TWin32FileSystem::FileExists(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::unique_ptr<IClipFile> TWin32FileSystem::OpenForWriting(const std::string& path, TCreateMode mode)
{
    const bool createNew = mode == TCreateMode::CreateNew;
    const HANDLE file = ::CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      createNew ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // CREATE_NEW over an existing directory fails with ERROR_ACCESS_DENIED, not ERROR_FILE_EXISTS.
        if (createNew && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                          (error == ERROR_ACCESS_DENIED && Attributes(path) != INVALID_FILE_ATTRIBUTES)))
            return nullptr;
        throw EInOutError(static_cast<int>(error));
    }
    return std::make_unique<TWin32ClipFile>(file);
}

} // namespace quillbox::win32
