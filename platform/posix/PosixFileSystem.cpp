#include "platform/posix/PosixFileSystem.h"

#include "platform/posix/ErrnoMap.h"
#include "platform/posix/UniqueFd.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillbox::posix {

namespace {

// A clip file on a file descriptor. Writes go straight to the descriptor, so a full disk is
// reported by the Write that meets it.
class TPosixClipFile final : public IClipFile
{
public:
    explicit TPosixClipFile(int fd) : FFd(fd) {}

    void Write(std::string_view bytes) override
    {
        while (!bytes.empty()) {
            const ssize_t written = ::write(FFd.Get(), bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                RaiseInOutError(errno, TErrnoContext::Lookup);
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    void Close() override
    {
        // close() releases the descriptor even when it reports an error, so it is never retried.
        if (::close(FFd.Release()) != 0 && errno != EINTR)
            RaiseInOutError(errno, TErrnoContext::Lookup);
    }

private:
    TUniqueFd FFd;
};

} // namespace

bool TPosixFileSystem::PathFits(const std::string& path) const
{
    // PATH_MAX counts the terminating zero.
    if (path.size() > PATH_MAX - 1)
        return false;
    std::size_t start = 0;
    for (;;) {
        const auto end = path.find('/', start);
        if ((end == std::string::npos ? path.size() : end) - start > NAME_MAX)
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

bool TPosixFileSystem::DirectoryExists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void TPosixFileSystem::CreateDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) != 0)
        RaiseInOutError(errno, TErrnoContext::Create);
}

std::string TPosixFileSystem::CurrentDirectory()
{
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr)
            return buffer.data();
        if (errno != ERANGE)
            RaiseInOutError(errno, TErrnoContext::Lookup);
        buffer.resize(buffer.size() * 2);
    }
}

bool TPosixFileSystem::FileExists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::unique_ptr<IClipFile> TPosixFileSystem::OpenForWriting(const std::string& path, TCreateMode mode)
{
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | (mode == TCreateMode::CreateNew ? O_EXCL : O_TRUNC);
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (mode == TCreateMode::CreateNew && errno == EEXIST)
            return nullptr;
        RaiseInOutError(errno, TErrnoContext::Create);
    }
    return std::make_unique<TPosixClipFile>(fd);
}

} // namespace quillbox::posix
