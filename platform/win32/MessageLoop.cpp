#include "platform/win32/MessageLoop.h"

#include "platform/win32/Win32FormView.h"

namespace quillbox::win32 {

void DispatchOne(MSG& msg)
{
    if (TWin32FormView::TakeKey(msg))
        return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void RunMessageLoop(const std::function<bool()>& done)
{
    MSG msg{};
    while (!done()) {
        // GetMessageW gives -1 only for an invalid window filter, and this loop passes none.
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchOne(msg);
    }
}

void DispatchWaitingMessages()
{
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchOne(msg);
    }
}

} // namespace quillbox::win32
