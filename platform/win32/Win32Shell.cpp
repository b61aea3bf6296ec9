#include "platform/win32/Win32Shell.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Handles.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace quillbox::win32 {

// The component's operations and flags are numbered as the shell numbers them (platform/Shell.h).
static_assert(NIM_ADD == 0 && NIM_MODIFY == 1 && NIM_DELETE == 2);
static_assert(NIF_MESSAGE == 1 && NIF_ICON == 2 && NIF_TIP == 4);
#ifndef _WIN64
// On 32-bit Windows the component's record is the shell's own first version, byte for byte.
static_assert(NOTIFYICONDATAA_V1_SIZE == 88 && sizeof(TNotifyIconDataA) == NOTIFYICONDATAA_V1_SIZE,
              "the 88-byte record is the native NOTIFYICONDATAA of the first version");
#endif

NOTIFYICONDATAW ToNativeNotifyIconData(const TNotifyIconDataA& data)
{
    NOTIFYICONDATAW native{};
    native.cbSize = NOTIFYICONDATAW_V1_SIZE;
    native.hWnd = ToHwnd(data.hWnd);
    native.uID = data.uID;
    native.uFlags = data.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
    native.uCallbackMessage = data.uCallbackMessage;
    native.hIcon = ToHicon(data.hIcon);
    const std::wstring tip = Utf8ToWide({data.szTip, ::strnlen(data.szTip, sizeof data.szTip)});
    // The first version's tip holds 64 UTF-16 units, the terminating zero included.
    const std::size_t length = std::min<std::size_t>(tip.size(), 63);
    std::wmemcpy(native.szTip, tip.data(), length);
    native.szTip[length] = L'\0';
    return native;
}

bool TWin32Shell::Shell_NotifyIcon(std::uint32_t operation, const TNotifyIconDataA& data)
{
    NOTIFYICONDATAW native = ToNativeNotifyIconData(data);
    return ::Shell_NotifyIconW(operation, &native) != FALSE;
}

} // namespace quillbox::win32
