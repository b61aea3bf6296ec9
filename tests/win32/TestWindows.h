#pragma once

#include "platform/win32/Win32Platform.h"

#include <functional>
#include <string>
#include <vector>

namespace quillbox::win32::test {

// The real Windows platform, installed for one test, as the program installs it.
class TPlatformFixture
{
public:
    TPlatformFixture();
    TPlatformFixture(const TPlatformFixture&) = delete;
    TPlatformFixture& operator=(const TPlatformFixture&) = delete;
    ~TPlatformFixture();

    TWin32Platform Platform;
};

// Runs the thread's message loop until `condition` holds; fails the test when it has not after a
// generous guard time, so that a lost message shows as a failure rather than a hang.
void PumpUntil(const std::function<bool()>& condition);

// Runs the forms' loop with a `done` that stays false: true when the loop ended by itself (on
// WM_QUIT) before the guard time. The WM_QUIT the loop posts again for enclosing loops is taken away.
bool LoopEndsByItself(IForms& forms);

// A hidden window of the platform that records what reaches its method and answers with Answer.
class TRecordingWindow
{
public:
    explicit TRecordingWindow(IWindows& windows);
    TRecordingWindow(const TRecordingWindow&) = delete;
    TRecordingWindow& operator=(const TRecordingWindow&) = delete;
    ~TRecordingWindow();

    THandle Handle() const { return FHandle; }
    std::size_t Count(std::uint32_t msg) const;

    std::vector<TMessage> Received;
    std::uint32_t Answer = 0;
    std::function<void(TMessage&)> OnMessage;

private:
    void WndProc(TMessage& message);

    IWindows& FWindows;
    THandle FHandle = 0;
};

// Replaces the clipboard's content with one format holding `bytes`.
void PutOnClipboard(UINT format, const std::string& bytes);
void EmptyTheClipboard();

// Runs `work` on another thread and waits for it on this one while delivering this thread's
// messages, so that the work can drive this thread's windows (a message box, a menu).
void WhileRunning(const std::function<void()>& work, const std::function<void()>& onThisThread);

// The first visible top-level window of `className` whose caption is `caption` (any with an empty
// caption), polled until it appears.
HWND WaitForWindow(const wchar_t* className, const std::wstring& caption = {});

} // namespace quillbox::win32::test
