#include "TestRunner.h"
#include "TestWindows.h"

#include "platform/win32/MessageLoop.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32FormView.h"

#include <algorithm>
#include <stdexcept>

namespace quillbox::win32::test {

namespace {

// What the view reported, one line per report, e.g. "key 1 Tab" or "edited 1 abc".
class TRecordedEvents final : public IFormEvents
{
public:
    void Activated() override { Log.push_back("activated"); }
    void CloseRequested() override { Log.push_back("close"); }
    void FocusEntered(int control) override { Log.push_back("focus " + std::to_string(control)); }
    void Clicked(int control) override { Log.push_back("click " + std::to_string(control)); }
    void KeyPressed(int control, TKey key) override
    {
        static const char* const names[] = {"Enter", "Escape", "Tab", "ShiftTab"};
        Log.push_back("key " + std::to_string(control) + " " + names[static_cast<int>(key)]);
    }
    void TextEdited(int control, const std::string& text) override
    {
        Log.push_back("edited " + std::to_string(control) + " " + text);
    }
    void ItemSelected(int control, int index) override
    {
        Log.push_back("picked " + std::to_string(control) + " " + std::to_string(index));
        if (ThrowOnPick)
            throw std::runtime_error("a faulty report");
    }
    void Moved(TRect bounds) override
    {
        Log.push_back("moved");
        LastBounds = bounds;
    }

    bool Has(const std::string& line) const { return std::find(Log.begin(), Log.end(), line) != Log.end(); }

    std::vector<std::string> Log;
    TRect LastBounds;
    bool ThrowOnPick = false;
};

enum : int { KLabel, KEdit, KOk, KCancel, KCombo, KPanel, KInPanel, KImage };

TControlDesc Control(TControlKind kind, TRect bounds, std::string caption = {})
{
    TControlDesc c;
    c.Kind = kind;
    c.Bounds = bounds;
    c.Font = {"ＭＳ Ｐゴシック", 15, false, false, 0};
    c.Caption = std::move(caption);
    c.TabStop = kind == TControlKind::Button || kind == TControlKind::Edit || kind == TControlKind::ComboBox;
    return c;
}

// One form with a control of every kind, numbered as the enum above.
TFormDesc Form(bool clientSize = false)
{
    TFormDesc desc;
    desc.Caption = "ﾌｧｲﾙ名を付ける";
    desc.Bounds = {120, 120, 300, 240};
    desc.ClientSize = clientSize;
    desc.Font = {"ＭＳ Ｐゴシック", 15, false, false, 0};
    desc.Controls.push_back(Control(TControlKind::Label, {8, 8, 57, 15}, "ﾌｧｲﾙ名；"));
    desc.Controls.push_back(Control(TControlKind::Edit, {24, 24, 217, 23}, "初め"));
    desc.Controls.push_back(Control(TControlKind::Button, {40, 56, 90, 25}, "OK"));
    desc.Controls.back().Default = true;
    desc.Controls.push_back(Control(TControlKind::Button, {140, 56, 90, 25}, "ｷｬﾝｾﾙ"));
    auto combo = Control(TControlKind::ComboBox, {24, 90, 193, 23});
    combo.Items = {"980304", "980304(水)", "98年3月4日"};
    desc.Controls.push_back(combo);
    auto panel = Control(TControlKind::Panel, {10, 130, 200, 80});
    panel.Lowered = true;
    desc.Controls.push_back(panel);
    auto inPanel = Control(TControlKind::Label, {30, 20, 100, 21}, "E-mail");
    inPanel.Parent = KPanel;
    desc.Controls.push_back(inPanel);
    auto image = Control(TControlKind::Image, {220, 130, 32, 32});
    image.Icon = TDialogIcon::Question;
    desc.Controls.push_back(image);
    return desc;
}

struct TViewFixture
{
    TPlatformFixture Platform;
    TRecordedEvents Events;
    TWin32FormView View;

    explicit TViewFixture(const TFormDesc& desc = Form())
        : View(::GetModuleHandleW(nullptr), Platform.Platform.Win32Windows().ApplicationWindow(), desc, Events)
    {
    }

    HWND Of(int control) const { return View.ControlHandle(control); }

    void ShowAndSettle(bool modal = false)
    {
        View.Show(modal);
        DispatchWaitingMessages();
    }

    // A key press as the keyboard driver queues it, with Shift held or not.
    void Press(int control, WPARAM key, bool shift = false)
    {
        BYTE state[256] = {};
        state[VK_SHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(state);
        ::PostMessageW(Of(control), WM_KEYDOWN, key, 1);
        DispatchWaitingMessages();
        state[VK_SHIFT] = 0;
        ::SetKeyboardState(state);
    }
};

std::wstring ClassOf(HWND wnd)
{
    wchar_t name[64] = {};
    ::GetClassNameW(wnd, name, 64);
    return name;
}

std::wstring TextOf(HWND wnd)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(wnd, text, 256);
    return text;
}

RECT ClientRectIn(HWND wnd)
{
    RECT rect{};
    ::GetWindowRect(wnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(wnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

QB_TEST(Win32FormView, DrawsEachControlAsANativeOne)
{
    TViewFixture f;
    const struct
    {
        const char* Name;
        int Control;
        const wchar_t* Class;
        DWORD TypeMask;
        DWORD Type;
        std::wstring Text;
    } cases[] = {
        {"label", KLabel, L"Static", SS_TYPEMASK, SS_LEFTNOWORDWRAP, L"\uFF8C\uFF67\uFF72\uFF99名；"},
        {"edit box", KEdit, L"Edit", 0, 0, L"初め"},
        {"default button", KOk, L"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON, L"OK"},
        {"button", KCancel, L"Button", BS_TYPEMASK, BS_PUSHBUTTON, L"\uFF77\uFF6C\uFF9D\uFF7E\uFF99"},
        {"drop-down list", KCombo, L"ComboBox", 3, CBS_DROPDOWNLIST, L""},
        {"image", KImage, L"Static", SS_TYPEMASK, SS_ICON, L""},
    };
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        const HWND wnd = f.Of(c.Control);
        QB_CHECK(wnd != nullptr);
        QB_CHECK(_wcsicmp(ClassOf(wnd).c_str(), c.Class) == 0);
        QB_CHECK_EQ(static_cast<DWORD>(::GetWindowLongPtrW(wnd, GWL_STYLE)) & c.TypeMask, c.Type);
        QB_CHECK(TextOf(wnd) == c.Text);
    }
    QB_CHECK(TextOf(f.View.Handle()) == L"\uFF8C\uFF67\uFF72\uFF99名を付ける");
    QB_CHECK_EQ(::SendMessageW(f.Of(KCombo), CB_GETCOUNT, 0, 0), 3);
    QB_CHECK(::GetParent(f.Of(KInPanel)) == f.Of(KPanel));
    QB_CHECK(::SendMessageW(f.Of(KImage), STM_GETICON, 0, 0) != 0);
    // Owned by the application's hidden window: no taskbar button of its own, and hidden at first.
    QB_CHECK(::GetWindow(f.View.Handle(), GW_OWNER) == f.Platform.Platform.Win32Windows().ApplicationWindow());
    QB_CHECK(!::IsWindowVisible(f.View.Handle()));
}

QB_TEST(Win32FormView, ScalesTheDesignFrom120PixelsPerInch)
{
    TViewFixture f;
    const UINT dpi = DpiOfWindow(f.View.Handle());
    const RECT edit = ClientRectIn(f.Of(KEdit));
    QB_CHECK_EQ(edit.left, static_cast<LONG>(::MulDiv(24, static_cast<int>(dpi), 120)));
    QB_CHECK_EQ(edit.right - edit.left, static_cast<LONG>(::MulDiv(217, static_cast<int>(dpi), 120)));
    // Positions inside a panel are the panel's own.
    QB_CHECK_EQ(ClientRectIn(f.Of(KInPanel)).left, static_cast<LONG>(::MulDiv(30, static_cast<int>(dpi), 120)));
    RECT outer{};
    ::GetWindowRect(f.View.Handle(), &outer);
    QB_CHECK_EQ(outer.left, static_cast<LONG>(::MulDiv(120, static_cast<int>(dpi), 120)));
    QB_CHECK_EQ(outer.right - outer.left, static_cast<LONG>(::MulDiv(300, static_cast<int>(dpi), 120)));
    // The font's character height is scaled too.
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(f.Of(KEdit), WM_GETFONT, 0, 0)), sizeof font, &font);
    QB_CHECK_EQ(font.lfHeight, static_cast<LONG>(-::MulDiv(15, static_cast<int>(dpi), 120)));
}

QB_TEST(Win32FormView, TheFormsOwnKeysGoToTheCoreAndNowhereElse)
{
    const struct
    {
        const char* Name;
        int Control;
        WPARAM Key;
        bool Shift;
        std::string Reported;
    } cases[] = {
        {"Tab in the edit box", KEdit, VK_TAB, false, "key 1 Tab"},
        {"Shift+Tab", KEdit, VK_TAB, true, "key 1 ShiftTab"},
        {"Enter in the edit box", KEdit, VK_RETURN, false, "key 1 Enter"},
        {"Enter on a button", KCancel, VK_RETURN, false, "key 3 Enter"},
        {"Escape", KCombo, VK_ESCAPE, false, "key 4 Escape"},
    };
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        TViewFixture f;
        f.ShowAndSettle();
        f.View.SetFocus(c.Control);
        f.Events.Log.clear();
        f.Press(c.Control, c.Key, c.Shift);
        QB_CHECK(f.Events.Log == std::vector<std::string>{c.Reported});
        // No native navigation: the focus stays, the edit box keeps its text, nothing is clicked.
        QB_CHECK(::GetFocus() == f.Of(c.Control));
        QB_CHECK(TextOf(f.Of(KEdit)) == L"初め");
    }
}

QB_TEST(Win32FormView, ReportsOnlyWhatTheUserDoes)
{
    TViewFixture f;
    f.ShowAndSettle();
    f.Events.Log.clear();
    f.View.SetText(KEdit, "set by the core");
    f.View.SetItemIndex(KCombo, 1);
    QB_CHECK(f.Events.Log.empty());

    f.View.SetFocus(KEdit);
    ::SendMessageW(f.Of(KEdit), EM_SETSEL, 15, 15);
    ::SendMessageW(f.Of(KEdit), WM_CHAR, L'日', 0);
    ::SendMessageW(f.Of(KCombo), WM_KEYDOWN, VK_DOWN, 0);
    ::SendMessageW(f.Of(KCancel), BM_CLICK, 0, 0);
    QB_CHECK(f.Events.Has("focus 1"));
    QB_CHECK(f.Events.Has("edited 1 set by the core日"));
    QB_CHECK(f.Events.Has("picked 4 2"));
    QB_CHECK(f.Events.Has("click 3"));
}

QB_TEST(Win32FormView, AnIndexOutsideTheItemsShowsNone)
{
    TViewFixture f;
    for (const int index : {3, -1, 99}) {
        const TTrace trace(std::to_string(index));
        f.View.SetItemIndex(KCombo, 0);
        f.View.SetItemIndex(KCombo, index);
        QB_CHECK_EQ(::SendMessageW(f.Of(KCombo), CB_GETCURSEL, 0, 0), CB_ERR);
    }
}

QB_TEST(Win32FormView, CloseBoxOnlyAsks)
{
    TViewFixture f;
    f.ShowAndSettle();
    ::SendMessageW(f.View.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    QB_CHECK(f.Events.Has("close"));
    QB_CHECK(::IsWindow(f.View.Handle()));
    QB_CHECK(::IsWindowVisible(f.View.Handle()));
}

QB_TEST(Win32FormView, ShowingActivatesAndMovingReportsDesignBounds)
{
    for (const bool clientSize : {false, true}) {
        const TTrace trace(clientSize ? "client size" : "outer size");
        TViewFixture f(Form(clientSize));
        f.ShowAndSettle();
        QB_CHECK(f.Events.Has("activated"));
        // The view's own placing is no move by the user.
        f.View.SetBounds({150, 150, 300, 240});
        QB_CHECK(!f.Events.Has("moved"));

        const UINT dpi = DpiOfWindow(f.View.Handle());
        ::SetWindowPos(f.View.Handle(), nullptr, ScaleToDpi(200, dpi), ScaleToDpi(160, dpi), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER);
        QB_CHECK(f.Events.Has("moved"));
        // In the measure SetBounds takes, so that the form comes back where and as large as it was.
        QB_CHECK(f.Events.LastBounds == (TRect{200, 160, 300, 240}));
    }
}

QB_TEST(Win32FormView, ModalShowingDisablesTheProgramsOtherVisibleWindows)
{
    TViewFixture f;
    TRecordedEvents otherEvents;
    TWin32FormView other(::GetModuleHandleW(nullptr), f.Platform.Platform.Win32Windows().ApplicationWindow(), Form(),
                         otherEvents);
    TRecordingWindow hidden(f.Platform.Platform.Windows());
    other.Show(false);
    f.View.Show(true);
    QB_CHECK(!::IsWindowEnabled(other.Handle()));
    QB_CHECK(::IsWindowEnabled(f.View.Handle()));
    // The tray icon's and the menu's hidden windows keep working.
    QB_CHECK(::IsWindowEnabled(ToHwnd(hidden.Handle())));
    QB_CHECK(::IsWindowEnabled(f.Platform.Platform.Win32Windows().MenuOwner()));
    f.View.Hide();
    QB_CHECK(::IsWindowEnabled(other.Handle()));
    QB_CHECK(!::IsWindowVisible(f.View.Handle()));
}

QB_TEST(Win32FormView, AFaultyReportStaysInsideTheWindowProcedure)
{
    TViewFixture f;
    f.Events.ThrowOnPick = true;
    ::SendMessageW(f.Of(KCombo), WM_KEYDOWN, VK_DOWN, 0);
    QB_CHECK(f.Events.Has("picked 4 0"));
    QB_CHECK(::IsWindow(f.View.Handle()));
}

} // namespace quillbox::win32::test
