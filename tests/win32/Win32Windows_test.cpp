#include "TestRunner.h"
#include "TestWindows.h"

#include "components/VxClipDetector.h"

#include <stdexcept>

namespace quillbox::win32::test {

namespace {

constexpr std::uint32_t KProbe = WM_USER + 77;

// A clipboard viewer of another program, as a well-behaved one is written: it forwards changes to
// its next viewer and repairs its link when that one leaves.
class TOtherViewer
{
public:
    explicit TOtherViewer(IWindows& windows) : FWindow(windows)
    {
        FWindow.OnMessage = [this, &windows](TMessage& message) {
            if (message.Msg == WM_DRAWCLIPBOARD && FNext != 0)
                windows.SendMessage(FNext, WM_DRAWCLIPBOARD, 0, 0);
            if (message.Msg == WM_CHANGECBCHAIN) {
                if (message.WParam == FNext)
                    FNext = message.LParam;
                else if (FNext != 0)
                    message.Result = windows.SendMessage(FNext, WM_CHANGECBCHAIN, message.WParam, message.LParam);
            }
        };
        FNext = windows.SetClipboardViewer(FWindow.Handle());
    }
    TOtherViewer(const TOtherViewer&) = delete;
    TOtherViewer& operator=(const TOtherViewer&) = delete;
    ~TOtherViewer() { ::ChangeClipboardChain(ToHwnd(FWindow.Handle()), ToHwnd(FNext)); }

    std::size_t Changes() const { return FWindow.Count(WM_DRAWCLIPBOARD); }

private:
    TRecordingWindow FWindow;
    THandle FNext = 0;
};

struct TChangeCounter
{
    int Changes = 0;
    void ClipChange(TObject*) { ++Changes; }
};

} // namespace

QB_TEST(Win32Windows, HiddenWindowDeliversEveryMessageToItsMethod)
{
    TPlatformFixture fixture;
    IWindows& windows = fixture.Platform.Windows();
    TRecordingWindow window(windows);
    QB_CHECK(window.Handle() != 0);
    // What CreateWindowExW sends goes to the default procedure, not to a method not yet attached.
    QB_CHECK(window.Received.empty());
    QB_CHECK(!::IsWindowVisible(ToHwnd(window.Handle())));

    window.Answer = 0xFFFFFFFE;
    QB_CHECK_EQ(windows.SendMessage(window.Handle(), KProbe, 0x12345678, 0x9ABCDEF0), 0xFFFFFFFEu);
    QB_CHECK_EQ(window.Received.size(), std::size_t{1});
    const TMessage& got = window.Received[0];
    QB_CHECK_EQ(got.Msg, KProbe);
    QB_CHECK_EQ(got.WParam, 0x12345678u);
    QB_CHECK_EQ(got.LParam, 0x9ABCDEF0u);
    QB_CHECK_EQ(got.Result, 0u);
}

QB_TEST(Win32Windows, DeallocatedWindowsHearNothingMore)
{
    TPlatformFixture fixture;
    IWindows& windows = fixture.Platform.Windows();
    const auto count = [](const TRecordingWindow& w) { return w.Received.size(); };

    auto window = std::make_unique<TRecordingWindow>(windows);
    const THandle handle = window->Handle();
    window.reset();
    QB_CHECK(!::IsWindow(ToHwnd(handle)));
    QB_CHECK_EQ(windows.SendMessage(handle, KProbe, 0, 0), 0u);

    // A method may let its own window go while it handles a message of it.
    TRecordingWindow self(windows);
    const THandle selfHandle = self.Handle();
    self.OnMessage = [&](TMessage&) { windows.DeallocateHWnd(selfHandle); };
    windows.SendMessage(selfHandle, KProbe, 0, 0);
    QB_CHECK(!::IsWindow(ToHwnd(selfHandle)));
    QB_CHECK_EQ(count(self), std::size_t{1});
}

QB_TEST(Win32Windows, AnExceptionNeverLeavesTheWindowProcedure)
{
    TPlatformFixture fixture;
    IWindows& windows = fixture.Platform.Windows();
    static std::string reported;
    reported.clear();
    SetMessageExceptionHandler([](const std::exception& e) { reported = e.what(); });
    TRecordingWindow window(windows);
    window.OnMessage = [](TMessage& message) {
        message.Result = 5;
        throw std::runtime_error("from a handler");
    };
    windows.SendMessage(window.Handle(), KProbe, 0, 0);
    SetMessageExceptionHandler(nullptr);
    QB_CHECK_EQ(reported, std::string("from a handler"));
    QB_CHECK(::IsWindow(ToHwnd(window.Handle())));
}

QB_TEST(Win32Windows, JoiningTheChainHearsTheClipboardInsideTheCall)
{
    TPlatformFixture fixture;
    IWindows& windows = fixture.Platform.Windows();
    PutOnClipboard(CF_TEXT, std::string("already there\0", 14));
    TRecordingWindow window(windows);
    bool joining = false;
    std::size_t heardWhileJoining = 0;
    window.OnMessage = [&](TMessage& message) {
        if (message.Msg == WM_DRAWCLIPBOARD && joining)
            ++heardWhileJoining;
    };
    joining = true;
    const THandle next = windows.SetClipboardViewer(window.Handle());
    joining = false;
    QB_CHECK_EQ(heardWhileJoining, std::size_t{1});
    windows.ChangeClipboardChain(window.Handle(), next);
}

QB_TEST(Win32Windows, DetectorPassesChangesOnAndLeavesTheChainWhole)
{
    TPlatformFixture fixture;
    IWindows& windows = fixture.Platform.Windows();
    TOtherViewer other(windows);
    TChangeCounter counter;
    auto detector = std::make_unique<TVxClipDetector>(nullptr);
    detector->SetOnClipChange(TNotifyEvent::Of<&TChangeCounter::ClipChange>(&counter));
    // The notification of joining is not a change.
    QB_CHECK_EQ(counter.Changes, 0);

    const std::size_t before = other.Changes();
    PutOnClipboard(CF_TEXT, std::string("one\0", 4));
    PumpUntil([&] { return counter.Changes == 1 && other.Changes() == before + 1; });

    detector.reset();
    PutOnClipboard(CF_TEXT, std::string("two\0", 4));
    PumpUntil([&] { return other.Changes() == before + 2; });
    QB_CHECK_EQ(counter.Changes, 1);
}

QB_TEST(Win32Windows, ApplicationWindowIsHiddenAndEndsTheLoopsWhenClosed)
{
    TPlatformFixture fixture;
    TWin32Windows& windows = fixture.Platform.Win32Windows();
    const HWND application = ToHwnd(windows.ApplicationHandle());
    QB_CHECK(!::IsWindowVisible(application));
    // A tool window: never a taskbar button, whatever shows it.
    QB_CHECK((::GetWindowLongPtrW(application, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0);
    QB_CHECK(!windows.ShowWindow(windows.ApplicationHandle(), SW_HIDE));

    ::PostMessageW(application, WM_CLOSE, 0, 0);
    QB_CHECK(LoopEndsByItself(fixture.Platform.Forms()));
    QB_CHECK(::IsWindow(application));
}

QB_TEST(Win32Windows, ProcessMessagesDeliversWhatWaitsAndLeavesTheQuit)
{
    TPlatformFixture fixture;
    IWindows& windows = fixture.Platform.Windows();
    TRecordingWindow window(windows);
    ::PostMessageW(ToHwnd(window.Handle()), KProbe, 1, 0);
    ::PostMessageW(ToHwnd(window.Handle()), KProbe, 2, 0);
    ::PostQuitMessage(0);
    windows.ProcessMessages();
    QB_CHECK_EQ(window.Count(KProbe), std::size_t{2});
    MSG msg{};
    QB_CHECK(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

} // namespace quillbox::win32::test
