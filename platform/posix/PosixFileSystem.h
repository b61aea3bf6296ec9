#pragma once

#include "platform/FileSystem.h"

namespace quillbox::posix {

// Files and directories through the POSIX calls, with errno reported in the Windows numbering.
class TPosixFileSystem final : public IFileSystem
{
public:
    char PathDelimiter() const override { return '/'; }
    bool PathFits(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) override;
    void CreateDirectory(const std::string& path) override;
    std::string CurrentDirectory() override;
    bool FileExists(const std::string& path) override;
    std::unique_ptr<IClipFile> OpenForWriting(const std::string& path, TCreateMode mode) override;
};

} // namespace quillbox::posix
