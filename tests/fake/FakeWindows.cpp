#include "fake/FakeWindows.h"

#include <utility>

namespace quillbox::test {

THandle TFakeWindows::AllocateHWnd(TWndMethod method)
{
    if (std::exchange(FFailAllocation, false))
        return 0;
    const THandle wnd = FNext++;
    FWindows[wnd] = method;
    return wnd;
}

void TFakeWindows::DeallocateHWnd(THandle wnd)
{
    FWindows.erase(wnd);
}

THandle TFakeWindows::SetClipboardViewer(THandle wnd)
{
    const THandle previous = FHead;
    FHead = wnd;
    // As on Windows, the new member hears of the clipboard's present content while it joins.
    SendMessage(wnd, wm::WM_DRAWCLIPBOARD, 0, 0);
    return previous;
}

bool TFakeWindows::ChangeClipboardChain(THandle wnd, THandle next)
{
    if (FHead == wnd)
        FHead = next;
    else
        SendMessage(FHead, wm::WM_CHANGECBCHAIN, wnd, next);
    return true;
}

std::uint32_t TFakeWindows::SendMessage(THandle wnd, std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam)
{
    const auto it = FWindows.find(wnd);
    if (it == FWindows.end())
        return 0;
    TMessage message{msg, wParam, lParam, 0};
    const TWndMethod method = it->second;
    DeliverMessage(method, message);
    return message.Result;
}

std::uint32_t TFakeWindows::DefWindowProc(THandle wnd, std::uint32_t msg, std::uint32_t, std::uint32_t)
{
    DefCalls.push_back({wnd, msg});
    return DefResult;
}

bool TFakeWindows::SetForegroundWindow(THandle wnd)
{
    ForegroundCalls.push_back(wnd);
    return true;
}

void TFakeWindows::ProcessMessages()
{
    ++ProcessMessagesCalls;
    auto waiting = std::move(FQueue);
    FQueue.clear();
    for (auto& work : waiting)
        work();
}

TFakeViewer::TFakeViewer(TFakeWindows& windows) : FWindows(windows)
{
    FHandle = FWindows.AllocateHWnd(TWndMethod::Of<&TFakeViewer::WndProc>(this));
}

TFakeViewer::~TFakeViewer()
{
    if (FMember)
        Leave();
    FWindows.DeallocateHWnd(FHandle);
}

void TFakeViewer::Join()
{
    FMember = true;
    FNext = FWindows.SetClipboardViewer(FHandle);
}

void TFakeViewer::Leave()
{
    FWindows.ChangeClipboardChain(FHandle, FNext);
    FMember = false;
}

void TFakeViewer::Vanish()
{
    FWindows.DeallocateHWnd(FHandle);
    FMember = false;
}

void TFakeViewer::WndProc(TMessage& message)
{
    Received.push_back(message);
    if (message.Msg == wm::WM_DRAWCLIPBOARD) {
        ++Draws;
        if (FNext != 0)
            FWindows.SendMessage(FNext, wm::WM_DRAWCLIPBOARD, 0, 0);
    } else if (message.Msg == wm::WM_CHANGECBCHAIN) {
        if (message.WParam == FNext)
            FNext = message.LParam;
        else if (FNext != 0)
            message.Result = FWindows.SendMessage(FNext, wm::WM_CHANGECBCHAIN, message.WParam, message.LParam);
    }
}

} // namespace quillbox::test
