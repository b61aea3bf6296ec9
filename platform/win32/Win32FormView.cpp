#include "platform/win32/Win32FormView.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Icons.h"

#include "platform/win32/Win32Api.h"

#include <cstdio>
#include <exception>

namespace quillbox::win32 {

namespace {

constexpr const wchar_t* KFormClass = L"QuillboxForm";

ATOM GFormClass = 0;

// BeginPaint / EndPaint for one WM_PAINT.
class TPaint
{
public:
    explicit TPaint(HWND wnd) noexcept : FWnd(wnd), FDC(::BeginPaint(wnd, &FPaint)) {}
    TPaint(const TPaint&) = delete;
    TPaint& operator=(const TPaint&) = delete;
    ~TPaint() { ::EndPaint(FWnd, &FPaint); }
    HDC DC() const noexcept { return FDC; }

private:
    HWND FWnd;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

} // namespace

void TWin32FormView::RegisterClasses(HINSTANCE instance)
{
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = &FormProc;
    form.hInstance = instance;
    form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    form.hIcon = ::LoadIconW(instance, L"MAINICON");
    form.lpszClassName = KFormClass;
    GFormClass = ::RegisterClassExW(&form);

    WNDCLASSEXW panel = form;
    panel.lpfnWndProc = &PanelProc;
    panel.hIcon = nullptr;
    panel.lpszClassName = KPanelClass;
    ::RegisterClassExW(&panel);
}

void TWin32FormView::UnregisterClasses(HINSTANCE instance)
{
    ::UnregisterClassW(KPanelClass, instance);
    ::UnregisterClassW(KFormClass, instance);
    GFormClass = 0;
}

std::wstring TWin32FormView::TextOf(HWND wnd)
{
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

TWin32FormView::TWin32FormView(HINSTANCE instance, HWND owner, const TFormDesc& desc, IFormEvents& events)
    : FEvents(events), FDesc(desc)
{
    if (desc.Border == TBorderStyle::Dialog) {
        FStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        FExStyle = WS_EX_DLGMODALFRAME;
    } else {
        FStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    }
    if (desc.StayOnTop)
        FExStyle |= WS_EX_TOPMOST;
    FWnd.Reset(::CreateWindowExW(FExStyle, KFormClass, Utf8ToWide(desc.Caption).c_str(), FStyle, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, this));
    if (!FWnd.Valid())
        return;
    FDpi = DpiOfWindow(FWnd.Get());
    if (!desc.Icon.empty()) {
        FBigIcon.Reset(CreateIconFromFile(desc.Icon, ::GetSystemMetrics(SM_CXICON)));
        FSmallIcon.Reset(CreateIconFromFile(desc.Icon, ::GetSystemMetrics(SM_CXSMICON)));
        ::SendMessageW(FWnd.Get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FBigIcon.Get()));
        ::SendMessageW(FWnd.Get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FSmallIcon.Get()));
    }
    CreateControls(instance);
    Layout();
    ApplyBounds();
}

TWin32FormView::~TWin32FormView()
{
    for (HWND wnd : FDisabled)
        if (::IsWindow(wnd))
            ::EnableWindow(wnd, TRUE);
    // The core's form is going away with its view: what the destruction itself sends (deactivation,
    // focus loss) is not reported.
    for (const TControl& control : FControls)
        if (control.Wnd != nullptr)
            ::RemoveWindowSubclass(control.Wnd, &ControlProc, KSubclassId);
    if (FWnd.Valid())
        ::SetWindowLongPtrW(FWnd.Get(), GWLP_USERDATA, 0);
    FWnd.Reset();
}

void TWin32FormView::Show(bool modal)
{
    if (modal && FDisabled.empty()) {
        // The program's other visible windows; the hidden ones of the tray icon, the detector and
        // the menu stay enabled, so that the tray menu works during a modal showing.
        ::EnumThreadWindows(::GetCurrentThreadId(), &DisableOther, reinterpret_cast<LPARAM>(this));
    }
    // A new showing starts from the core's choice of focus, not from where the last one ended.
    FSavedFocus = nullptr;
    ::ShowWindow(FWnd.Get(), SW_SHOW);
    ::SetForegroundWindow(FWnd.Get());
}

BOOL CALLBACK TWin32FormView::DisableOther(HWND wnd, LPARAM self) noexcept
{
    auto* view = reinterpret_cast<TWin32FormView*>(self);
    if (wnd != view->FWnd.Get() && ::IsWindowVisible(wnd) && ::IsWindowEnabled(wnd)) {
        ::EnableWindow(wnd, FALSE);
        view->FDisabled.push_back(wnd);
    }
    return TRUE;
}

void TWin32FormView::Hide()
{
    // Enabled again before the window goes, so that Windows can hand the activation back to one of
    // them rather than to another program.
    for (HWND wnd : FDisabled)
        if (::IsWindow(wnd))
            ::EnableWindow(wnd, TRUE);
    FDisabled.clear();
    ::ShowWindow(FWnd.Get(), SW_HIDE);
}

void TWin32FormView::BringToFront()
{
    if (::IsIconic(FWnd.Get()))
        ::ShowWindow(FWnd.Get(), SW_RESTORE);
    ::SetWindowPos(FWnd.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(FWnd.Get());
}

void TWin32FormView::SetFocus(int control)
{
    if (Valid(control))
        ::SetFocus(FControls[static_cast<std::size_t>(control)].Wnd);
}

void TWin32FormView::SetText(int control, const std::string& text)
{
    if (!Valid(control))
        return;
    TControl& target = FControls[static_cast<std::size_t>(control)];
    ++FQuiet;
    ::SetWindowTextW(target.Wnd, Utf8ToWide(text).c_str());
    --FQuiet;
    if (target.Desc.Kind == TControlKind::Label && target.Desc.AutoSize)
        LayoutControl(target);
}

void TWin32FormView::SetItemIndex(int control, int index)
{
    if (!Valid(control))
        return;
    const HWND combo = FControls[static_cast<std::size_t>(control)].Wnd;
    const auto count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    ::SendMessageW(combo, CB_SETCURSEL, index >= 0 && index < count ? static_cast<WPARAM>(index) : ToWParam(~0u), 0);
}

HWND TWin32FormView::ControlHandle(int control) const
{
    return Valid(control) ? FControls[static_cast<std::size_t>(control)].Wnd : nullptr;
}

bool TWin32FormView::Valid(int control) const
{
    return control >= 0 && static_cast<std::size_t>(control) < FControls.size();
}

int TWin32FormView::IndexOf(HWND wnd) const
{
    for (std::size_t i = 0; i < FControls.size(); ++i)
        if (FControls[i].Wnd == wnd)
            return static_cast<int>(i);
    return -1;
}

template <class F>
void TWin32FormView::Report(F&& report) noexcept
{
    // The core handles its reports completely; this only keeps a window procedure from throwing.
    try {
        report();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillbox: %s\n", e.what());
    } catch (...) {
        std::fputs("quillbox: unknown error in a form report\n", stderr);
    }
}

TWin32FormView* TWin32FormView::FromWindow(HWND wnd) noexcept
{
    if (wnd == nullptr || GFormClass == 0 || ::GetClassLongPtrW(wnd, GCW_ATOM) != GFormClass)
        return nullptr;
    return reinterpret_cast<TWin32FormView*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
}

bool TWin32FormView::TakeKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN)
        return false;
    TKey key = TKey::Enter;
    switch (msg.wParam) {
    case VK_TAB:
        key = ::GetKeyState(VK_SHIFT) < 0 ? TKey::ShiftTab : TKey::Tab;
        break;
    case VK_RETURN:
        key = TKey::Enter;
        break;
    case VK_ESCAPE:
        key = TKey::Escape;
        break;
    default:
        return false;
    }
    TWin32FormView* view = FromWindow(::GetAncestor(msg.hwnd, GA_ROOT));
    if (view == nullptr)
        return false;
    const int control = view->IndexOf(msg.hwnd);
    // An open drop-down list takes Enter and Escape itself, to pick an item or to close.
    if (key != TKey::Tab && key != TKey::ShiftTab && control >= 0 &&
        view->FControls[static_cast<std::size_t>(control)].Desc.Kind == TControlKind::ComboBox &&
        ::SendMessageW(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0) != FALSE)
        return false;
    view->Report([&] { view->FEvents.KeyPressed(control, key); });
    return true;
}

LRESULT CALLBACK TWin32FormView::FormProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* view = reinterpret_cast<TWin32FormView*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    // Before WM_NCCREATE, and once the view has let go of the window, the defaults answer.
    if (view == nullptr || !view->FWnd.Valid())
        return ::DefWindowProcW(wnd, msg, wParam, lParam);
    return view->HandleMessage(msg, wParam, lParam);
}

LRESULT TWin32FormView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const HWND wnd = FWnd.Get();
    switch (msg) {
    case WM_COMMAND:
        if (lParam != 0)
            HandleCommand(static_cast<int>(LOWORD(wParam)) - 1, HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC: {
        const int control = IndexOf(reinterpret_cast<HWND>(lParam));
        const HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, Valid(control) ? FControls[static_cast<std::size_t>(control)].Desc.Font.Color : 0);
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
        Report([this] { FEvents.CloseRequested(); });
        return 0;
    case WM_ACTIVATE:
        HandleActivate(wParam);
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = ::DefWindowProcW(wnd, msg, wParam, lParam);
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        const bool movedOrSized = (pos->flags & SWP_NOMOVE) == 0 || (pos->flags & SWP_NOSIZE) == 0;
        if (FPlacing == 0 && movedOrSized && ::IsWindowVisible(wnd) && !::IsIconic(wnd))
            Report([this] { FEvents.Moved(CurrentBounds()); });
        return result;
    }
    case WM_DPICHANGED: {
        // Per-monitor awareness: the form is laid out again for the monitor it has moved to.
        // https://learn.microsoft.com/en-us/windows/win32/hidpi/wm-dpichanged
        FDpi = LOWORD(wParam);
        Layout();
        if (FPlacing > 0) {
            ApplyBounds();
        } else {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(wnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                           suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    }
    default:
        return ::DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

void TWin32FormView::HandleCommand(int control, UINT code)
{
    if (!Valid(control))
        return;
    const TControl& source = FControls[static_cast<std::size_t>(control)];
    switch (source.Desc.Kind) {
    case TControlKind::Button:
        if (code == BN_CLICKED)
            Report([&] { FEvents.Clicked(control); });
        break;
    case TControlKind::Edit:
        if (code == EN_CHANGE && FQuiet == 0) {
            const std::string text = WideToUtf8(TextOf(source.Wnd));
            Report([&] { FEvents.TextEdited(control, text); });
        }
        break;
    case TControlKind::ComboBox:
        // CBN_SELCHANGE comes only from the user: CB_SETCURSEL sends none.
        if (code == CBN_SELCHANGE) {
            const auto index = static_cast<int>(::SendMessageW(source.Wnd, CB_GETCURSEL, 0, 0));
            Report([&] { FEvents.ItemSelected(control, index); });
        }
        break;
    default:
        break;
    }
}

void TWin32FormView::HandleActivate(WPARAM wParam)
{
    const HWND wnd = FWnd.Get();
    if (LOWORD(wParam) == WA_INACTIVE) {
        // Kept, as the dialog manager keeps it, to give the focus back when the form is activated
        // again; a plain window would otherwise take the focus itself.
        const HWND focus = ::GetFocus();
        FSavedFocus = focus != nullptr && ::IsChild(wnd, focus) ? focus : nullptr;
        return;
    }
    if (HIWORD(wParam) != 0) // minimised
        return;
    if (FSavedFocus != nullptr && ::IsWindow(FSavedFocus) && ::IsWindowVisible(wnd))
        ::SetFocus(FSavedFocus);
    else
        ::SetFocus(wnd);
    Report([this] { FEvents.Activated(); });
}

void TWin32FormView::ControlFocused(HWND wnd)
{
    const int control = IndexOf(wnd);
    if (!Valid(control))
        return;
    ShowDefaultLook(control);
    Report([this, control] { FEvents.FocusEntered(control); });
}

void TWin32FormView::ShowDefaultLook(int focused)
{
    // As the dialog manager draws it: a focused button looks like the default button, and with the
    // focus elsewhere the default button does.
    const bool onButton = FControls[static_cast<std::size_t>(focused)].Desc.Kind == TControlKind::Button;
    for (std::size_t i = 0; i < FControls.size(); ++i) {
        const TControl& control = FControls[i];
        if (control.Desc.Kind != TControlKind::Button)
            continue;
        const bool looksDefault = onButton ? static_cast<int>(i) == focused : control.Desc.Default;
        ::SendMessageW(control.Wnd, BM_SETSTYLE, looksDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

LRESULT CALLBACK TWin32FormView::ControlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR data) noexcept
{
    if (msg == WM_SETFOCUS) {
        const LRESULT result = ::DefSubclassProc(wnd, msg, wParam, lParam);
        reinterpret_cast<TWin32FormView*>(data)->ControlFocused(wnd);
        return result;
    }
    if (msg == WM_NCDESTROY)
        ::RemoveWindowSubclass(wnd, &ControlProc, KSubclassId);
    return ::DefSubclassProc(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK TWin32FormView::PanelProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // A panel only groups: its controls' notifications are the form's.
        return ::SendMessageW(::GetAncestor(wnd, GA_ROOT), msg, wParam, lParam);
    case WM_PAINT: {
        const TPaint paint(wnd);
        RECT rect{};
        ::GetClientRect(wnd, &rect);
        const bool lowered = ::GetWindowLongPtrW(wnd, GWLP_USERDATA) != 0;
        ::DrawEdge(paint.DC(), &rect, lowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        return 0;
    }
    default:
        return ::DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

} // namespace quillbox::win32
