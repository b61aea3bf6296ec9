#include "TestWindows.h"

#include "TestRunner.h"

#include "platform/win32/MessageLoop.h"

#include <cstring>
#include <thread>

namespace quillbox::win32::test {

namespace {

// Far beyond anything the tests wait for; reached only when a message never comes.
constexpr UINT KGuardMs = 10000;
bool GTimedOut = false;

void CALLBACK GuardElapsed(HWND, UINT, UINT_PTR, DWORD)
{
    GTimedOut = true;
}

} // namespace

TPlatformFixture::TPlatformFixture() : Platform(::GetModuleHandleW(nullptr))
{
    InstallPlatform(&Platform);
}

TPlatformFixture::~TPlatformFixture()
{
    InstallPlatform(nullptr);
}

void PumpUntil(const std::function<bool()>& condition)
{
    GTimedOut = false;
    const UINT_PTR guard = ::SetTimer(nullptr, 0, KGuardMs, &GuardElapsed);
    RunMessageLoop([&] { return condition() || GTimedOut; });
    ::KillTimer(nullptr, guard);
    if (!condition())
        Fail(__FILE__, __LINE__, "the awaited message never came");
}

bool LoopEndsByItself(IForms& forms)
{
    GTimedOut = false;
    const UINT_PTR guard = ::SetTimer(nullptr, 0, KGuardMs, &GuardElapsed);
    forms.RunLoop([] { return GTimedOut; });
    ::KillTimer(nullptr, guard);
    MSG msg{};
    const bool quitPosted = ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    return !GTimedOut && quitPosted;
}

TRecordingWindow::TRecordingWindow(IWindows& windows) : FWindows(windows)
{
    FHandle = FWindows.AllocateHWnd(TWndMethod::Of<&TRecordingWindow::WndProc>(this));
}

TRecordingWindow::~TRecordingWindow()
{
    if (FHandle != 0)
        FWindows.DeallocateHWnd(FHandle);
}

std::size_t TRecordingWindow::Count(std::uint32_t msg) const
{
    std::size_t count = 0;
    for (const TMessage& message : Received)
        count += message.Msg == msg ? 1 : 0;
    return count;
}

void TRecordingWindow::WndProc(TMessage& message)
{
    Received.push_back(message);
    message.Result = Answer;
    if (OnMessage)
        OnMessage(message);
}

void PutOnClipboard(UINT format, const std::string& bytes)
{
    QB_CHECK(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size());
    ::GlobalUnlock(memory);
    ::SetClipboardData(format, memory);
    ::CloseClipboard();
}

void EmptyTheClipboard()
{
    QB_CHECK(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
}

void WhileRunning(const std::function<void()>& work, const std::function<void()>& onThisThread)
{
    std::thread helper(work);
    onThisThread();
    helper.join();
}

HWND WaitForWindow(const wchar_t* className, const std::wstring& caption)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const HWND found = ::FindWindowW(className, caption.empty() ? nullptr : caption.c_str());
        if (found != nullptr && ::IsWindowVisible(found))
            return found;
        ::Sleep(10);
    }
    return nullptr;
}

} // namespace quillbox::win32::test
