#include "TestRunner.h"
#include "TestWindows.h"

#include <atomic>

namespace quillbox::win32::test {

namespace {

constexpr UINT KProbe = WM_USER + 78;

struct TBoxSeen
{
    std::wstring Text;
    HWND Owner = nullptr;
};

// Waits on another thread for the message box captioned `caption`, reads it and presses OK.
TBoxSeen ReadAndCloseBox(const std::wstring& caption)
{
    TBoxSeen seen;
    const HWND box = WaitForWindow(L"#32770", caption);
    if (box == nullptr)
        return seen;
    wchar_t text[512] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 512);
    seen.Text = text;
    seen.Owner = ::GetWindow(box, GW_OWNER);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return seen;
}

} // namespace

QB_TEST(Win32Forms, DoneIsCheckedAfterEveryMessage)
{
    TPlatformFixture fixture;
    TRecordingWindow window(fixture.Platform.Windows());
    for (int i = 0; i < 3; ++i)
        ::PostMessageW(ToHwnd(window.Handle()), KProbe, 0, 0);
    // A modal result set by one message ends the modal loop before the next is handled.
    fixture.Platform.Forms().RunLoop([&] { return window.Count(KProbe) == 2; });
    QB_CHECK_EQ(window.Count(KProbe), std::size_t{2});
    fixture.Platform.Windows().ProcessMessages();
}

QB_TEST(Win32Forms, AQuitEndsEveryNestedLoop)
{
    TPlatformFixture fixture;
    IForms& forms = fixture.Platform.Forms();
    TRecordingWindow window(fixture.Platform.Windows());
    bool innerEnded = false;
    window.OnMessage = [&](TMessage&) {
        ::PostQuitMessage(0);
        forms.RunLoop([] { return false; });
        innerEnded = true;
    };
    ::PostMessageW(ToHwnd(window.Handle()), KProbe, 0, 0);
    QB_CHECK(LoopEndsByItself(forms));
    QB_CHECK(innerEnded);
}

QB_TEST(Win32Forms, WakeUpMakesTheWaitingLoopLook)
{
    TPlatformFixture fixture;
    IForms& forms = fixture.Platform.Forms();
    std::atomic<bool> done = false;
    WhileRunning(
        [&] {
            ::Sleep(20);
            done = true;
            forms.WakeUp();
        },
        [&] { PumpUntil([&] { return done.load(); }); });
    QB_CHECK(done);
}

QB_TEST(Win32Forms, ReportsAreMessageBoxesWithTheirExactCaptions)
{
    TPlatformFixture fixture;
    IForms& forms = fixture.Platform.Forms();
    const struct
    {
        const char* Name;
        std::function<void()> Show;
        std::wstring Caption;
        std::wstring Text;
        HWND Owner;
    } cases[] = {
        {"the error report", [&] { forms.ErrorBox("Quillbox", "'DNumber' のﾃﾞｰﾀ型が不正です."); }, L"Quillbox",
         L"'DNumber' の\uFF83\uFF9E\uFF70\uFF80型が不正です.", fixture.Platform.Win32Windows().ApplicationWindow()},
        {"the last-resort report",
         [&] { forms.FatalBox("ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ", "EOutOfMemoryがﾓｼﾞｭｰﾙ quillbox.exe の\n0x1 で発生しました。\nx."); },
         L"\uFF71\uFF8C\uFF9F\uFF98\uFF79\uFF70\uFF7C\uFF6E\uFF9D \uFF74\uFF97\uFF70",
         L"EOutOfMemoryが\uFF93\uFF7C\uFF9E\uFF6D\uFF70\uFF99 quillbox.exe の\n0x1 で発生しました。\nx.", nullptr},
    };
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        TBoxSeen seen;
        WhileRunning([&] { seen = ReadAndCloseBox(c.Caption); }, c.Show);
        QB_CHECK(seen.Text == c.Text);
        QB_CHECK(seen.Owner == c.Owner);
    }
}

} // namespace quillbox::win32::test
