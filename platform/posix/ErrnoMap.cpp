#include "platform/posix/ErrnoMap.h"

#include "platform/Exceptions.h"

#include <cerrno>

namespace quillbox::posix {

int OsCodeFromErrno(int err, TErrnoContext context)
{
    switch (err) {
    case ENOENT:
        return context == TErrnoContext::Create ? oscode::PathNotFound : oscode::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return oscode::PathNotFound;
    case EMFILE:
    case ENFILE:
        return oscode::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return oscode::AccessDenied;
    case EBUSY:
    case ETXTBSY:
        return oscode::SharingViolation;
    case EEXIST:
        return oscode::AlreadyExists;
    case ENOSPC:
    case EDQUOT:
        return oscode::DiskFull;
    case EILSEQ:
        return oscode::InvalidName;
    case EINVAL:
        return oscode::InvalidParameter;
    case EFBIG:
        return 223; // ERROR_FILE_TOO_LARGE
    case ENOMEM:
        return 8; // ERROR_NOT_ENOUGH_MEMORY
    case EIO:
        return 1117; // ERROR_IO_DEVICE
    default:
        return oscode::GenFailure;
    }
}

void RaiseInOutError(int err, TErrnoContext context)
{
    throw EInOutError(OsCodeFromErrno(err, context));
}

} // namespace quillbox::posix
