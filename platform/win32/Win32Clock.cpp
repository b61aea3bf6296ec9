#include "platform/win32/Win32Clock.h"

#include "platform/win32/Win32Api.h"

namespace quillbox::win32 {

TLocalDateTime TWin32Clock::Now()
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

} // namespace quillbox::win32
