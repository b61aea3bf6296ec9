#include "platform/win32/Win32Dpi.h"

#include "platform/win32/Win32Handles.h"

namespace quillbox::win32 {

namespace {

template <class F>
F UserFunction(const char* name)
{
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    // GetProcAddress's FARPROC is converted through void* to the function's own type.
    return user32 != nullptr ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

UINT ScreenDpi()
{
    const TWindowDC screen(nullptr);
    return screen.Get() != nullptr ? static_cast<UINT>(::GetDeviceCaps(screen.Get(), LOGPIXELSY)) : 96;
}

} // namespace

UINT DpiOfWindow(HWND wnd)
{
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = UserFunction<TGetDpiForWindow>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr && wnd != nullptr ? getDpiForWindow(wnd) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

UINT SystemDpi()
{
    using TGetDpiForSystem = UINT(WINAPI*)();
    static const auto getDpiForSystem = UserFunction<TGetDpiForSystem>("GetDpiForSystem");
    const UINT dpi = getDpiForSystem != nullptr ? getDpiForSystem() : 0;
    return dpi != 0 ? dpi : ScreenDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi)
{
    using TAdjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = UserFunction<TAdjust>("AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, exStyle, dpi))
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

} // namespace quillbox::win32
