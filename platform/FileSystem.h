#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace quillbox {

enum class TCreateMode {
    CreateNew,   // fails when any entry of that name exists already
    CreateAlways // creates the file, or truncates an existing one to zero length
};

// A file opened for writing; other processes may read it meanwhile but not write it. Every failure
// raises EInOutError with the operating system's code in the Windows numbering.
class IClipFile
{
public:
    IClipFile() = default;
    IClipFile(const IClipFile&) = delete;
    IClipFile& operator=(const IClipFile&) = delete;
    // Closes the file if Close was not called, ignoring any failure.
    virtual ~IClipFile() = default;

    // Writes all of `bytes`.
    virtual void Write(std::string_view bytes) = 0;

    // Writes out what is buffered and closes the file. Called at most once.
    virtual void Close() = 0;
};

// Directories and files. Paths are UTF-8 byte strings, built by plain concatenation with
// PathDelimiter(); a relative path is taken against the current directory. Every failure raises
// EInOutError with the operating system's code in the Windows numbering.
class IFileSystem
{
public:
    IFileSystem() = default;
    IFileSystem(const IFileSystem&) = delete;
    IFileSystem& operator=(const IFileSystem&) = delete;
    virtual ~IFileSystem() = default;

    virtual char PathDelimiter() const = 0;

    // True when the platform's file open takes the whole path: neither the path nor any name in it is
    // longer than the platform accepts.
    virtual bool PathFits(const std::string& path) const = 0;

    // True only for an existing directory; a file of that name gives false.
    virtual bool DirectoryExists(const std::string& path) = 0;

    // Creates one directory level.
    virtual void CreateDirectory(const std::string& path) = 0;

    // The absolute current directory, without a trailing delimiter except at a root.
    virtual std::string CurrentDirectory() = 0;

    // True only when an entry of that path exists that is not a directory.
    virtual bool FileExists(const std::string& path) = 0;

    // Opens a file for writing. With CreateNew, gives null (and creates nothing) when an entry of that
    // name exists already, a directory included.
    virtual std::unique_ptr<IClipFile> OpenForWriting(const std::string& path, TCreateMode mode) = 0;
};

} // namespace quillbox
