#pragma once

#include "platform/Messages.h"
#include "platform/win32/Win32Handles.h"

#include "platform/win32/Win32Api.h"

#include <map>
#include <memory>

namespace quillbox::win32 {

// Hidden windows whose every message goes to a core method, the clipboard viewer chain, and the
// application's own window. The hidden windows are invisible top-level windows, not message-only
// ones, because only top-level windows hear the broadcasts of the end of the session.
// https://learn.microsoft.com/en-us/windows/win32/winmsg/window-features#message-only-windows
// Invariant: a window handed out by AllocateHWnd and not yet deallocated is in FMethods, and its
// GWLP_USERDATA points at its entry there.
class TWin32Windows final : public IWindows
{
public:
    explicit TWin32Windows(HINSTANCE instance);
    TWin32Windows(const TWin32Windows&) = delete;
    TWin32Windows& operator=(const TWin32Windows&) = delete;
    ~TWin32Windows() override;

    THandle AllocateHWnd(TWndMethod method) override;
    void DeallocateHWnd(THandle wnd) override;
    THandle SetClipboardViewer(THandle wnd) override;
    bool ChangeClipboardChain(THandle wnd, THandle next) override;
    std::uint32_t SendMessage(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam) override;
    std::uint32_t DefWindowProc(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam) override;
    bool ShowWindow(THandle wnd, int cmdShow) override;
    TPoint GetCursorPos() override;
    bool SetForegroundWindow(THandle wnd) override;
    THandle ApplicationHandle() override;
    void ProcessMessages() override;

    HWND ApplicationWindow() const noexcept { return FApplication.Get(); }
    // The owner of popup menus: a hidden window of its own, so that a message box, which disables
    // the application's window, leaves the tray menu usable.
    HWND MenuOwner() const noexcept { return FMenuOwner.Get(); }

private:
    struct TEntry
    {
        TWndMethod Method;
    };

    static LRESULT CALLBACK HiddenProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK ApplicationProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    HWND CreateHidden(const wchar_t* className, const wchar_t* caption) const;

    HINSTANCE FInstance;
    std::map<HWND, std::unique_ptr<TEntry>> FMethods;
    TUniqueWindow FApplication;
    TUniqueWindow FMenuOwner;
};

} // namespace quillbox::win32
