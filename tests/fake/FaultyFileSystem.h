#pragma once

#include "platform/FileSystem.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quillbox::test {

// The real file system with faults the test arms: a write that fails after a number of bytes, a
// close that fails, a directory creation that fails, and a hook that runs just before a file is
// opened (to play another process that creates the file in between). Each armed fault fires once.
class TFaultyFileSystem final : public IFileSystem
{
public:
    explicit TFaultyFileSystem(IFileSystem& real) : FReal(real) {}

    void FailWriteAfter(std::size_t bytes, int code)
    {
        FWriteLimit = bytes;
        FWriteCode = code;
    }
    void FailClose(int code) { FCloseCode = code; }
    void FailCreateDirectory(int code) { FCreateDirectoryCode = code; }
    // Paths longer than this do not fit, whatever the real file system takes.
    void SetMaxPath(std::size_t bytes) { FMaxPath = bytes; }
    std::function<void(const std::string& path)> BeforeOpen;

    int Opens() const { return FOpens; }
    int Closes() const { return FCloses; }

    char PathDelimiter() const override { return FReal.PathDelimiter(); }
    bool PathFits(const std::string& path) const override
    {
        return (!FMaxPath || path.size() <= *FMaxPath) && FReal.PathFits(path);
    }
    bool DirectoryExists(const std::string& path) override { return FReal.DirectoryExists(path); }
    void CreateDirectory(const std::string& path) override;
    std::string CurrentDirectory() override { return FReal.CurrentDirectory(); }
    bool FileExists(const std::string& path) override { return FReal.FileExists(path); }
    std::unique_ptr<IClipFile> OpenForWriting(const std::string& path, TCreateMode mode) override;

private:
    friend class TFaultyClipFile;

    IFileSystem& FReal;
    std::optional<std::size_t> FMaxPath;
    std::optional<std::size_t> FWriteLimit;
    int FWriteCode = 0;
    int FCloseCode = 0;
    int FCreateDirectoryCode = 0;
    int FOpens = 0;
    int FCloses = 0;
};

} // namespace quillbox::test
