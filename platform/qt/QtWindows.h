#pragma once

#include "platform/Messages.h"

#include <unordered_map>

namespace quillbox::qt {

// Hidden windows as entries of our own handle table, and the clipboard viewer chain among them. A
// handle is never 0 and is not given again while its window lives. Every message is delivered
// synchronously on the GUI thread through DeliverMessage. Like the system's chain, the table knows
// only the chain's head; each member keeps its own link to the next.
class TQtWindows final : public IWindows
{
public:
    TQtWindows();

    THandle AllocateHWnd(TWndMethod method) override;
    void DeallocateHWnd(THandle wnd) override;
    THandle SetClipboardViewer(THandle wnd) override;
    bool ChangeClipboardChain(THandle wnd, THandle next) override;
    std::uint32_t SendMessage(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam) override;
    std::uint32_t DefWindowProc(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam) override;
    bool ShowWindow(THandle wnd, int cmdShow) override;
    TPoint GetCursorPos() override;
    bool SetForegroundWindow(THandle wnd) override;
    THandle ApplicationHandle() override { return FApplication; }
    void ProcessMessages() override;

    // The system clipboard changed: WM_DRAWCLIPBOARD goes to the head of the chain.
    void ClipboardChanged();
    THandle ClipboardViewer() const { return FHead; }

private:
    std::unordered_map<THandle, TWndMethod> FWindows;
    THandle FLast = 0;
    THandle FApplication = 0;
    THandle FHead = 0;
};

} // namespace quillbox::qt
