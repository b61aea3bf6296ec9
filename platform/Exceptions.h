#pragma once

#include <exception>
#include <string>

// The class library's exception classes. A failure is raised as one of these with the exact text
// the user is shown; `Message()` is that text.

class Exception : public std::exception
{
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const noexcept { return FMessage; }
    // The class name shown by the last-resort report.
    virtual const char* ClassName() const noexcept { return "Exception"; }

private:
    std::string FMessage;
};

// An I/O failure. ErrorCode is the operating system's code in the Windows numbering; the message
// is chosen by that code.
class EInOutError : public Exception
{
public:
    explicit EInOutError(int errorCode);
    int ErrorCode() const noexcept { return FErrorCode; }
    const char* ClassName() const noexcept override { return "EInOutError"; }

private:
    int FErrorCode;
};

class ERegistryException : public Exception
{
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "ERegistryException"; }
};

class EInvalidOperation : public Exception
{
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EInvalidOperation"; }
};

class EOutOfMemory : public Exception
{
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EOutOfMemory"; }
};

class EOutOfResources : public Exception
{
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EOutOfResources"; }
};

namespace quillbox {

// Windows error codes that the core itself raises or tests for.
namespace oscode {
inline constexpr int FileNotFound = 2;
inline constexpr int PathNotFound = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int WriteFault = 29;
inline constexpr int GenFailure = 31;
inline constexpr int SharingViolation = 32;
inline constexpr int FileExists = 80;
inline constexpr int InvalidParameter = 87;
inline constexpr int DiskFull = 112;
inline constexpr int InvalidName = 123;
inline constexpr int AlreadyExists = 183;
inline constexpr int FilenameTooLong = 206;
} // namespace oscode

// The message that EInOutError shows for an error code.
std::string InOutErrorMessage(int errorCode);

// Puts arg in place of the "%s" of a message pattern.
std::string FormatMessage(const std::string& pattern, const std::string& arg);

} // namespace quillbox
