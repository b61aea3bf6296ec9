#pragma once

namespace quillbox::posix {

// What the failed call was doing: looking an entry up, or creating one (a directory, or a file opened
// with O_CREAT). A missing entry means "not found" to the first and "a directory on the path is
// missing" to the second, as Windows reports them.
enum class TErrnoContext { Lookup, Create };

// The Windows error code whose message means what `err` means, so that the user reads the same
// message on both platforms.
int OsCodeFromErrno(int err, TErrnoContext context);

// Raises EInOutError for `err`.
[[noreturn]] void RaiseInOutError(int err, TErrnoContext context);

} // namespace quillbox::posix
