#pragma once

#include "platform/Classes.h"

#include <cstdint>
#include <exception>

namespace quillbox {

// A window handle. Zero is no window.
using THandle = std::uint32_t;

// The record in which a hidden window delivers each of its messages to its owner's window method.
// Result is 0 on entry; what it holds on return is the window's answer to the sender.
struct TMessage
{
    std::uint32_t Msg = 0;
    std::uint32_t WParam = 0;
    std::uint32_t LParam = 0;
    std::uint32_t Result = 0;
};

using TWndMethod = TMethodPointer<TMessage&>;

struct TPoint
{
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TPoint&) const = default;
};

// Calls a hidden window's method as a window procedure must: an exception never leaves it. It goes to
// the handler set with SetMessageExceptionHandler (the application's error report), or, with none
// set, is written to stderr. Every platform delivers every message of a hidden window through this.
void DeliverMessage(const TWndMethod& method, TMessage& message) noexcept;
void SetMessageExceptionHandler(void (*handler)(const std::exception& error));

// Message numbers, as Windows numbers them.
namespace wm {
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUERYENDSESSION = 0x0011;
inline constexpr std::uint32_t WM_ENDSESSION = 0x0016;
inline constexpr std::uint32_t WM_MOUSEMOVE = 512;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 513;
inline constexpr std::uint32_t WM_LBUTTONUP = 514;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 515;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 516;
inline constexpr std::uint32_t WM_RBUTTONUP = 517;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 518;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 519;
inline constexpr std::uint32_t WM_MBUTTONUP = 520;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 521;
inline constexpr std::uint32_t WM_DRAWCLIPBOARD = 776;
inline constexpr std::uint32_t WM_CHANGECBCHAIN = 781;
inline constexpr std::uint32_t WM_USER = 1024;
} // namespace wm

// Hidden windows, the messages sent to them and the clipboard viewer chain, in the terms of the
// Windows calls the components rely on.
class IWindows
{
public:
    IWindows() = default;
    IWindows(const IWindows&) = delete;
    IWindows& operator=(const IWindows&) = delete;
    virtual ~IWindows() = default;

    // A new hidden window every message of which goes to `method` on the calling (GUI) thread, with
    // Result 0 on entry; 0 when no window could be made.
    virtual THandle AllocateHWnd(TWndMethod method) = 0;
    // Destroys the window; no further message reaches its method.
    virtual void DeallocateHWnd(THandle wnd) = 0;

    // Makes `wnd` the head of the viewer chain and gives the previous head (0 for none). The
    // WM_DRAWCLIPBOARD for the new member is delivered synchronously inside this call.
    virtual THandle SetClipboardViewer(THandle wnd) = 0;
    // Takes `wnd` out of the chain, linking the member before it to `next`.
    virtual bool ChangeClipboardChain(THandle wnd, THandle next) = 0;

    // Delivers a message and returns the receiver's answer once it has been processed; 0 for a
    // window that does not exist.
    virtual std::uint32_t SendMessage(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam) = 0;
    // The platform's default answer to a message the window does not handle itself.
    virtual std::uint32_t DefWindowProc(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam) = 0;

    // Shows or hides a window (the Windows SW_ codes; SW_HIDE is 0).
    virtual bool ShowWindow(THandle wnd, int cmdShow) = 0;

    virtual TPoint GetCursorPos() = 0;
    virtual bool SetForegroundWindow(THandle wnd) = 0;

    // The application's own hidden window, the one a taskbar button would belong to.
    virtual THandle ApplicationHandle() = 0;
    // Dispatches every message waiting in the GUI thread's queue, then returns.
    virtual void ProcessMessages() = 0;
};

} // namespace quillbox
