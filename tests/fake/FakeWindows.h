#pragma once

#include "platform/Messages.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace quillbox::test {

// Hidden windows and the clipboard viewer chain, in process. Messages are delivered synchronously
// to the window's method. Like the real platform it knows only the head of the chain; each member
// keeps its own link to the next. A clipboard change sends WM_DRAWCLIPBOARD to the head.
class TFakeWindows final : public IWindows
{
public:
    struct TDefCall
    {
        THandle Wnd;
        std::uint32_t Msg;
    };

    THandle AllocateHWnd(TWndMethod method) override;
    void DeallocateHWnd(THandle wnd) override;
    THandle SetClipboardViewer(THandle wnd) override;
    bool ChangeClipboardChain(THandle wnd, THandle next) override;
    std::uint32_t SendMessage(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam) override;
    std::uint32_t DefWindowProc(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam) override;
    bool ShowWindow(THandle wnd, int cmdShow) override
    {
        ShowWindowCalls.emplace_back(wnd, cmdShow);
        return true;
    }
    TPoint GetCursorPos() override { return FCursor; }
    bool SetForegroundWindow(THandle wnd) override;
    THandle ApplicationHandle() override { return KApplicationWindow; }
    void ProcessMessages() override;

    // Test side.
    static constexpr THandle KApplicationWindow = 0x10;
    void ClipboardChanged() { SendMessage(FHead, wm::WM_DRAWCLIPBOARD, 0, 0); }
    THandle Head() const { return FHead; }
    bool Exists(THandle wnd) const { return FWindows.count(wnd) != 0; }
    std::size_t WindowCount() const { return FWindows.size(); }
    void FailNextAllocation() { FFailAllocation = true; }
    void SetCursor(TPoint at) { FCursor = at; }
    // Work that "waits in the queue" until ProcessMessages runs it.
    void Post(std::function<void()> work) { FQueue.push_back(std::move(work)); }

    std::vector<TDefCall> DefCalls;
    std::vector<THandle> ForegroundCalls;
    std::vector<std::pair<THandle, int>> ShowWindowCalls;
    int ProcessMessagesCalls = 0;
    // What DefWindowProc answers; Windows answers TRUE to WM_QUERYENDSESSION, allowing the end.
    std::uint32_t DefResult = 1;

private:
    std::map<THandle, TWndMethod> FWindows;
    std::vector<std::function<void()>> FQueue;
    THandle FHead = 0;
    THandle FNext = 0x100;
    TPoint FCursor;
    bool FFailAllocation = false;
};

// Another program's window in the viewer chain that behaves as a viewer should: it records the
// notifications it gets, forwards them and repairs its link. It can leave properly or vanish
// (its window destroyed without leaving the chain).
class TFakeViewer
{
public:
    explicit TFakeViewer(TFakeWindows& windows);
    TFakeViewer(const TFakeViewer&) = delete;
    TFakeViewer& operator=(const TFakeViewer&) = delete;
    ~TFakeViewer();

    void Join();
    void Leave();
    void Vanish();

    THandle Handle() const { return FHandle; }
    THandle Next() const { return FNext; }
    int Draws = 0;
    std::vector<TMessage> Received;

private:
    void WndProc(TMessage& message);

    TFakeWindows& FWindows;
    THandle FHandle = 0;
    THandle FNext = 0;
    bool FMember = false;
};

} // namespace quillbox::test
