#include "platform/posix/FileRegistry.h"

#include "platform/posix/UniqueFd.h"

#include "platform/ScopeExit.h"
#include "platform/UniqueHandle.h"
#include "platform/posix/RegFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <map>
#include <mutex>
#include <pwd.h>
#include <string>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace quillbox::posix {

namespace {

namespace fs = std::filesystem;

// The value HKEY_CURRENT_USER has on Windows; the handle table never hands it out.
constexpr TRegKey RootHandle = 0x80000001;
constexpr std::string_view RootPath = "HKEY_CURRENT_USER";
constexpr mode_t NewFileMode = 0600;

long WriteStatus(int err)
{
    return err == EACCES || err == EPERM || err == EROFS ? regstatus::AccessDenied : regstatus::WriteFault;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Reads the whole file. A missing file is an empty hive, and reads as empty text.
long ReadWhole(const fs::path& file, std::string& text, mode_t& mode)
{
    text.clear();
    mode = NewFileMode;
    // O_NONBLOCK keeps a FIFO planted at the path from blocking the open; regular files ignore it.
    TUniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.Valid())
        return errno == ENOENT || errno == ENOTDIR ? regstatus::Success : regstatus::AccessDenied;
    struct stat info = {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return regstatus::AccessDenied;
    mode = info.st_mode & 07777;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got == 0)
            return regstatus::Success;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return regstatus::AccessDenied;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

// Parse errors are told once per file and problem: every call re-reads the file, and repeating the same
// complaint on each would bury it. The record is dropped once the file parses again.
std::map<std::string, std::string>& ReportedProblems()
{
    static std::map<std::string, std::string> reported;
    return reported;
}

std::mutex& ReportedProblemsLock()
{
    static std::mutex lock;
    return lock;
}

void ReportParseError(const fs::path& file, const TRegParseError& error)
{
    const std::string message = "quillbox: " + file.string() + ":" + std::to_string(error.Line) + ": " + error.Message +
                                "; using default settings and leaving the file unchanged\n";
    const std::lock_guard<std::mutex> guard(ReportedProblemsLock());
    std::string& last = ReportedProblems()[file.string()];
    if (last == message)
        return;
    last = message;
    std::fputs(message.c_str(), stderr);
    std::fflush(stderr);
}

void ForgetParseError(const fs::path& file)
{
    const std::lock_guard<std::mutex> guard(ReportedProblemsLock());
    ReportedProblems().erase(file.string());
}

// Reads and parses the file; mode receives its permission bits (those of a new file when it is missing).
long LoadFile(const fs::path& file, TRegFileTree& tree, mode_t& mode)
{
    std::string text;
    if (const long status = ReadWhole(file, text, mode); status != regstatus::Success)
        return status;
    TRegParseError error;
    if (!ParseRegFile(text, tree, error)) {
        ReportParseError(file, error);
        return regstatus::BadDatabase;
    }
    ForgetParseError(file);
    return regstatus::Success;
}

long LoadFile(const fs::path& file, TRegFileTree& tree)
{
    mode_t mode = 0;
    return LoadFile(file, tree, mode);
}

long EnsureDirectory(const fs::path& dir)
{
    if (::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST)
        return regstatus::Success;
    if (errno != ENOENT)
        return WriteStatus(errno);
    const fs::path parent = dir.parent_path();
    if (parent.empty() || parent == dir)
        return regstatus::WriteFault;
    if (const long status = EnsureDirectory(parent); status != regstatus::Success)
        return status;
    if (::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST)
        return regstatus::Success;
    return WriteStatus(errno);
}

// Temporary files are named <file>.tmp-XXXXXX, the X's filled in by mkostemp.
constexpr std::string_view TempInfix = ".tmp-";
constexpr std::size_t TempUniqueLength = 6;

// Removes temporary files that writers killed mid-write left behind. Only called under the lock, when
// no live writer has a temporary file.
void RemoveStaleTempFiles(const fs::path& file, const fs::path& dir)
{
    const std::string prefix = file.filename().string() + std::string(TempInfix);
    std::error_code ignored;
    for (fs::directory_iterator it(dir, ignored), end; it != end; it.increment(ignored)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + TempUniqueLength && name.starts_with(prefix))
            ::unlink(it->path().c_str());
    }
}

// Puts text in place of the file so that a reader, or a crash at any moment, sees either the old
// contents or the new ones in full: a temporary file beside it is made durable, then renamed over it.
long ReplaceFile(const fs::path& file, const fs::path& dir, const std::string& text, mode_t mode)
{
    std::string tempName = file.string() + std::string(TempInfix) + std::string(TempUniqueLength, 'X');
    TUniqueFd out(::mkostemp(tempName.data(), O_CLOEXEC));
    if (!out.Valid())
        return WriteStatus(errno);
    TScopeExit removeTemp([&tempName] { ::unlink(tempName.c_str()); });

    if (::fchmod(out.Get(), mode) != 0 || !WriteAll(out.Get(), text) || ::fsync(out.Get()) != 0)
        return WriteStatus(errno);
    // close() releases the descriptor even when it reports an error, so it is never retried.
    if (::close(out.Release()) != 0 && errno != EINTR)
        return WriteStatus(errno);
    if (::rename(tempName.c_str(), file.c_str()) != 0)
        return WriteStatus(errno);
    removeTemp.Dismiss();

    // The rename is durable only once the directory is synced. Some file systems cannot sync a
    // directory (EINVAL); there the rename is as durable as they make it.
    const TUniqueFd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirFd.Valid() || (::fsync(dirFd.Get()) != 0 && errno != EINVAL))
        return regstatus::WriteFault;
    return regstatus::Success;
}

// Applies change to the file's current contents and writes the result, all under an exclusive lock so
// that writers in other processes are serialized and none loses another's update. The lock lives on a
// file of its own that is never replaced or removed, since the registry file itself changes its inode on
// every write.
long ModifyFile(const fs::path& file, const std::function<long(TRegFileTree&)>& change)
{
    if (!file.has_filename())
        return regstatus::WriteFault;
    const fs::path dir = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (const long status = EnsureDirectory(dir); status != regstatus::Success)
        return status;

    fs::path lockPath = file;
    lockPath += ".lock";
    const TUniqueFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, NewFileMode));
    if (!lock.Valid())
        return WriteStatus(errno);
    while (::flock(lock.Get(), LOCK_EX) != 0)
        if (errno != EINTR)
            return WriteStatus(errno);

    RemoveStaleTempFiles(file, dir);

    TRegFileTree tree;
    mode_t mode = NewFileMode;
    if (const long status = LoadFile(file, tree, mode); status != regstatus::Success)
        return status;
    if (const long status = change(tree); status != regstatus::Success)
        return status;
    return ReplaceFile(file, dir, SerializeRegFile(tree), mode);
}

} // namespace

TFileRegistry::TFileRegistry(std::filesystem::path file) : FFile(std::move(file)) {}

std::filesystem::path TFileRegistry::DefaultPath()
{
    fs::path config;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && fs::path(xdg).is_absolute()) {
        config = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home == '\0') {
            const passwd* user = ::getpwuid(::getuid());
            home = user != nullptr ? user->pw_dir : nullptr;
        }
        if (home == nullptr || *home == '\0')
            return {};
        config = fs::path(home) / ".config";
    }
    return config / "Quillbox" / "registry.reg";
}

TRegKey TFileRegistry::CurrentUser() const
{
    return RootHandle;
}

long TFileRegistry::ResolvePath(TRegKey parent, const std::string& subKey, std::string& path) const
{
    if (parent == RootHandle) {
        path = RootPath;
    } else {
        const auto it = FHandles.find(parent);
        if (it == FHandles.end())
            return regstatus::InvalidHandle;
        path = it->second;
    }
    if (subKey.empty())
        return regstatus::Success;
    path += '\\';
    path += subKey;
    return TRegFileTree::IsValidKeyPath(path) ? regstatus::Success : regstatus::InvalidParameter;
}

long TFileRegistry::OpenHandle(std::string path, TRegKey& result)
{
    TRegKey handle = FNextHandle++;
    if (handle == RootHandle)
        handle = FNextHandle++;
    FHandles.emplace(handle, std::move(path));
    result = handle;
    return regstatus::Success;
}

long TFileRegistry::CreateKey(TRegKey parent, const std::string& subKey, TRegKey& result)
{
    result = 0;
    try {
        std::string path;
        if (const long status = ResolvePath(parent, subKey, path); status != regstatus::Success)
            return status;
        if (path != RootPath) {
            TRegFileTree tree;
            if (const long status = LoadFile(FFile, tree); status != regstatus::Success)
                return status;
            if (!tree.KeyExists(path)) {
                const long status = ModifyFile(FFile, [&path](TRegFileTree& current) {
                    if (!current.KeyExists(path) && current.AddKey(path) == nullptr)
                        return regstatus::InvalidParameter;
                    return regstatus::Success;
                });
                if (status != regstatus::Success)
                    return status;
            }
        }
        return OpenHandle(std::move(path), result);
    } catch (...) {
        return regstatus::WriteFault;
    }
}

long TFileRegistry::OpenKey(TRegKey parent, const std::string& subKey, TRegKey& result)
{
    result = 0;
    try {
        std::string path;
        if (const long status = ResolvePath(parent, subKey, path); status != regstatus::Success)
            return status;
        if (path != RootPath) {
            TRegFileTree tree;
            if (const long status = LoadFile(FFile, tree); status != regstatus::Success)
                return status;
            if (!tree.KeyExists(path))
                return regstatus::FileNotFound;
        }
        return OpenHandle(std::move(path), result);
    } catch (...) {
        return regstatus::AccessDenied;
    }
}

long TFileRegistry::QueryValue(TRegKey key, const std::string& name, TRegType& type, std::string* data,
                               std::size_t& size)
{
    try {
        std::string path;
        if (const long status = ResolvePath(key, {}, path); status != regstatus::Success)
            return status;
        TRegFileTree tree;
        if (const long status = LoadFile(FFile, tree); status != regstatus::Success)
            return status;
        const TRegFileKey* listed = tree.FindKey(path);
        const TRegFileValue* value = listed != nullptr ? listed->FindValue(name) : nullptr;
        if (value == nullptr)
            return regstatus::FileNotFound;
        type = value->Type;
        if (data != nullptr && value->Data.size() <= size)
            *data = value->Data;
        const bool fits = data == nullptr || value->Data.size() <= size;
        size = value->Data.size();
        return fits ? regstatus::Success : regstatus::MoreData;
    } catch (...) {
        return regstatus::AccessDenied;
    }
}

long TFileRegistry::SetValue(TRegKey key, const std::string& name, TRegType type, const std::string& data)
{
    try {
        std::string path;
        if (const long status = ResolvePath(key, {}, path); status != regstatus::Success)
            return status;
        if (!TRegFileTree::IsValidValueName(name))
            return regstatus::InvalidParameter;
        // A key removed from the file by another program since it was opened is put back.
        return ModifyFile(FFile, [&](TRegFileTree& current) {
            TRegFileKey* listed = current.AddKey(path);
            if (listed == nullptr || !listed->SetValue(name, type, data))
                return regstatus::InvalidParameter;
            return regstatus::Success;
        });
    } catch (...) {
        return regstatus::WriteFault;
    }
}

long TFileRegistry::CloseKey(TRegKey key)
{
    if (key == RootHandle)
        return regstatus::Success;
    return FHandles.erase(key) != 0 ? regstatus::Success : regstatus::InvalidHandle;
}

} // namespace quillbox::posix
