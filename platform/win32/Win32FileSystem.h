#pragma once

#include "platform/FileSystem.h"

#include <string_view>

namespace quillbox::win32 {

// Whether a full path (UTF-8) fits the MAX_PATH rules of the ANSI-compatible file API: at most 259
// UTF-16 units in all and at most 255 in any one name.
// https://learn.microsoft.com/en-us/windows/win32/fileio/maximum-file-path-limitation
bool FitsMaxPath(std::string_view fullPath);

// Files and directories through the wide file API; paths are converted from UTF-8 and failures
// raise EInOutError with GetLastError's code.
class TWin32FileSystem final : public IFileSystem
{
public:
    char PathDelimiter() const override { return '\\'; }
    bool PathFits(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) override;
    void CreateDirectory(const std::string& path) override;
    std::string CurrentDirectory() override;
    bool FileExists(const std::string& path) override;
    std::unique_ptr<IClipFile> OpenForWriting(const std::string& path, TCreateMode mode) override;
};

} // namespace quillbox::win32
