#include "platform/qt/QtWindows.h"

#include <QCoreApplication>
#include <QCursor>

namespace quillbox::qt {

TQtWindows::TQtWindows()
{
    // The application's window handles no message itself: everything sent to it gets the defaults.
    FApplication = AllocateHWnd({});
}

THandle TQtWindows::AllocateHWnd(TWndMethod method)
{
    // Handles count up and wrap around, skipping 0 and every handle still in use.
    do
        ++FLast;
    while (FLast == 0 || FWindows.count(FLast) != 0);
    FWindows.emplace(FLast, method);
    return FLast;
}

void TQtWindows::DeallocateHWnd(THandle wnd)
{
    if (wnd != FApplication)
        FWindows.erase(wnd);
}

THandle TQtWindows::SetClipboardViewer(THandle wnd)
{
    const THandle previous = FHead;
    FHead = wnd;
    // The new member hears at once of what the clipboard holds, inside this call, as on Windows
    // (https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-setclipboardviewer).
    SendMessage(wnd, wm::WM_DRAWCLIPBOARD, 0, 0);
    return previous;
}

bool TQtWindows::ChangeClipboardChain(THandle wnd, THandle next)
{
    if (FHead == wnd)
        FHead = next;
    else if (FHead != 0)
        SendMessage(FHead, wm::WM_CHANGECBCHAIN, wnd, next);
    return true;
}

std::uint32_t TQtWindows::SendMessage(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam)
{
    const auto it = FWindows.find(wnd);
    if (it == FWindows.end())
        return 0;
    // A copy: the method may deallocate its own window, or others, while it runs.
    const TWndMethod method = it->second;
    if (!method.Assigned())
        return DefWindowProc(wnd, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    DeliverMessage(method, message);
    return message.Result;
}

std::uint32_t TQtWindows::DefWindowProc(THandle, std::uint32_t msg, std::uint32_t, std::uint32_t)
{
    // Windows answers TRUE to the end-of-session query, letting the session end
    // (https://learn.microsoft.com/windows/win32/shutdown/wm-queryendsession), and 0 to what it ignores.
    return msg == wm::WM_QUERYENDSESSION ? 1 : 0;
}

bool TQtWindows::ShowWindow(THandle wnd, int)
{
    // Hidden windows have nothing on screen to show or hide; the application's window, which would carry
    // a taskbar button on Windows, has none here.
    return FWindows.count(wnd) != 0;
}

TPoint TQtWindows::GetCursorPos()
{
    const QPoint at = QCursor::pos();
    return {at.x(), at.y()};
}

bool TQtWindows::SetForegroundWindow(THandle wnd)
{
    // A hidden window has nothing to bring forward on X11; the popup menu that follows takes the
    // pointer and keyboard itself.
    return FWindows.count(wnd) != 0;
}

void TQtWindows::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TQtWindows::ClipboardChanged()
{
    if (FHead != 0)
        SendMessage(FHead, wm::WM_DRAWCLIPBOARD, 0, 0);
}

} // namespace quillbox::qt
