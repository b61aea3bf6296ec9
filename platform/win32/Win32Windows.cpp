#include "platform/win32/Win32Windows.h"

#include "platform/win32/MessageLoop.h"

namespace quillbox::win32 {

namespace {

constexpr const wchar_t* KHiddenClass = L"QuillboxHiddenWindow";
constexpr const wchar_t* KApplicationClass = L"QuillboxApplication";

} // namespace

TWin32Windows::TWin32Windows(HINSTANCE instance) : FInstance(instance)
{
    WNDCLASSEXW hidden{};
    hidden.cbSize = sizeof hidden;
    hidden.lpfnWndProc = &HiddenProc;
    hidden.hInstance = instance;
    hidden.lpszClassName = KHiddenClass;
    ::RegisterClassExW(&hidden);

    WNDCLASSEXW application = hidden;
    application.lpfnWndProc = &ApplicationProc;
    application.lpszClassName = KApplicationClass;
    application.hIcon = ::LoadIconW(instance, L"MAINICON");
    ::RegisterClassExW(&application);

    FApplication.Reset(CreateHidden(KApplicationClass, L"Quillbox"));
    FMenuOwner.Reset(CreateHidden(KHiddenClass, L""));
}

TWin32Windows::~TWin32Windows()
{
    for (auto& [wnd, entry] : FMethods) {
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        ::DestroyWindow(wnd);
    }
    FMethods.clear();
    FMenuOwner.Reset();
    FApplication.Reset();
    ::UnregisterClassW(KApplicationClass, FInstance);
    ::UnregisterClassW(KHiddenClass, FInstance);
}

HWND TWin32Windows::CreateHidden(const wchar_t* className, const wchar_t* caption) const
{
    // A tool window never gets a taskbar button, even if something shows it.
    return ::CreateWindowExW(WS_EX_TOOLWINDOW, className, caption, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, FInstance,
                             nullptr);
}

LRESULT CALLBACK TWin32Windows::HiddenProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    // The messages of CreateWindowExW arrive before the method is attached and get the default
    // answers, as the class library's allocator gives them: a method that answers 0 to everything
    // would otherwise refuse WM_NCCREATE and the window would never exist.
    const auto* entry = reinterpret_cast<const TEntry*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (entry == nullptr)
        return ::DefWindowProcW(wnd, msg, wParam, lParam);
    // A copy: the method may deallocate its own window, and with it the entry.
    const TWndMethod method = entry->Method;
    TMessage message{msg, static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam), 0};
    DeliverMessage(method, message);
    return ToLResult(message.Result);
}

LRESULT CALLBACK TWin32Windows::ApplicationProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_CLOSE:
        // A close request to the application's window closes the main form, and the main form has
        // no close handler: the application ends. The window itself stays until the platform goes.
        ::PostQuitMessage(0);
        return 0;
    case WM_ENDSESSION:
        // Windows may end the process at any time after this returns, so the loops are only asked
        // to unwind. https://learn.microsoft.com/en-us/windows/win32/shutdown/wm-endsession
        if (wParam != FALSE)
            ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

THandle TWin32Windows::AllocateHWnd(TWndMethod method)
{
    const HWND wnd = CreateHidden(KHiddenClass, L"");
    if (wnd == nullptr)
        return 0;
    auto entry = std::make_unique<TEntry>(TEntry{method});
    ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(entry.get()));
    FMethods.emplace(wnd, std::move(entry));
    return FromUserHandle(wnd);
}

void TWin32Windows::DeallocateHWnd(THandle wnd)
{
    const auto it = FMethods.find(ToHwnd(wnd));
    if (it == FMethods.end())
        return;
    // Detached first: WM_DESTROY and WM_NCDESTROY go to the default procedure, not to the owner,
    // which is being destroyed itself.
    ::SetWindowLongPtrW(it->first, GWLP_USERDATA, 0);
    ::DestroyWindow(it->first);
    FMethods.erase(it);
}

THandle TWin32Windows::SetClipboardViewer(THandle wnd)
{
    return FromUserHandle(::SetClipboardViewer(ToHwnd(wnd)));
}

bool TWin32Windows::ChangeClipboardChain(THandle wnd, THandle next)
{
    return ::ChangeClipboardChain(ToHwnd(wnd), ToHwnd(next)) != FALSE;
}

std::uint32_t TWin32Windows::SendMessage(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam)
{
    if (wnd == 0)
        return 0;
    return static_cast<std::uint32_t>(::SendMessageW(ToHwnd(wnd), msg, ToWParam(wParam), ToLParam(lParam)));
}

std::uint32_t TWin32Windows::DefWindowProc(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam)
{
    return static_cast<std::uint32_t>(::DefWindowProcW(ToHwnd(wnd), msg, ToWParam(wParam), ToLParam(lParam)));
}

bool TWin32Windows::ShowWindow(THandle wnd, int cmdShow)
{
    return ::ShowWindow(ToHwnd(wnd), cmdShow) != FALSE;
}

TPoint TWin32Windows::GetCursorPos()
{
    POINT at{};
    if (!::GetCursorPos(&at))
        return {};
    return {at.x, at.y};
}

bool TWin32Windows::SetForegroundWindow(THandle wnd)
{
    return ::SetForegroundWindow(ToHwnd(wnd)) != FALSE;
}

THandle TWin32Windows::ApplicationHandle()
{
    return FromUserHandle(FApplication.Get());
}

void TWin32Windows::ProcessMessages()
{
    DispatchWaitingMessages();
}

} // namespace quillbox::win32
