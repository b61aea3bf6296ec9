// The form view's windows and their places: the controls made from the description, and the layout
// of the form and its controls at the window's density.
#include "platform/win32/Win32FormView.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Icons.h"

namespace quillbox::win32 {

void TWin32FormView::CreateControls(HINSTANCE instance)
{
    ++FQuiet;
    FControls.reserve(FDesc.Controls.size());
    for (std::size_t i = 0; i < FDesc.Controls.size(); ++i) {
        TControl control;
        control.Desc = FDesc.Controls[i];
        const TControlDesc& c = control.Desc;
        const wchar_t* className = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE | (c.TabStop ? WS_TABSTOP : 0);
        DWORD exStyle = 0;
        switch (c.Kind) {
        case TControlKind::Label:
            if (c.Alignment == TAlignment::Center)
                style |= SS_CENTER;
            else if (c.Alignment == TAlignment::Right)
                style |= SS_RIGHT;
            else
                style |= c.WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
            break;
        case TControlKind::Button:
            className = L"BUTTON";
            style |= c.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
        case TControlKind::Edit:
            className = L"EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case TControlKind::ComboBox:
            className = L"COMBOBOX";
            style |= CBS_DROPDOWNLIST | WS_VSCROLL;
            break;
        case TControlKind::Panel:
            className = KPanelClass;
            break;
        case TControlKind::Image:
            style |= SS_ICON | SS_REALSIZECONTROL;
            break;
        }
        const bool ownParent = c.Parent >= 0 && static_cast<std::size_t>(c.Parent) < i;
        const HWND parent = ownParent ? FControls[static_cast<std::size_t>(c.Parent)].Wnd : FWnd.Get();
        const std::wstring caption = c.Kind == TControlKind::Image ? std::wstring() : Utf8ToWide(c.Caption);
        control.Wnd = ::CreateWindowExW(exStyle, className, caption.c_str(), style, 0, 0, 0, 0, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)), instance, nullptr);
        if (c.Kind == TControlKind::Panel)
            ::SetWindowLongPtrW(control.Wnd, GWLP_USERDATA, c.Lowered ? 1 : 0);
        for (const std::string& item : c.Items)
            ::SendMessageW(control.Wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
        if (c.TabStop)
            ::SetWindowSubclass(control.Wnd, &ControlProc, KSubclassId, reinterpret_cast<DWORD_PTR>(this));
        FControls.push_back(std::move(control));
    }
    --FQuiet;
}

void TWin32FormView::Layout()
{
    for (TControl& control : FControls)
        LayoutControl(control);
    ::InvalidateRect(FWnd.Get(), nullptr, TRUE);
}

void TWin32FormView::LayoutControl(TControl& control)
{
    const TControlDesc& c = control.Desc;
    const bool hasText = c.Kind == TControlKind::Label || c.Kind == TControlKind::Button;
    control.Font = CreateFormFont(c.Font, FDpi, hasText ? TextOf(control.Wnd) : std::wstring());
    ::SendMessageW(control.Wnd, WM_SETFONT, reinterpret_cast<WPARAM>(control.Font.Get()), FALSE);
    int width = ScaleToDpi(c.Bounds.Width, FDpi);
    int height = ScaleToDpi(c.Bounds.Height, FDpi);
    switch (c.Kind) {
    case TControlKind::Label:
        if (c.AutoSize) {
            // As the class library sizes a label to its caption: a wrapping label keeps its width.
            const SIZE size = MeasureLabel(control, width);
            width = c.WordWrap ? width : size.cx;
            height = size.cy;
        }
        break;
    case TControlKind::ComboBox:
        // The height of a drop-down list is that of its open list; the closed box takes the font's.
        height += height * static_cast<int>(c.Items.size() < 8 ? c.Items.size() : 8);
        break;
    case TControlKind::Image: {
        if (c.AutoSize) {
            // The picture at its own size: 32 pixels is an icon's size at 96 ppi.
            width = height = ::MulDiv(32, static_cast<int>(FDpi), 96);
        }
        HICON icon = nullptr;
        if (!c.Image.empty()) {
            control.OwnedIcon.Reset(CreateIconFromFile(c.Image, width));
            icon = control.OwnedIcon.Get();
        } else if (c.Icon != TDialogIcon::None) {
            icon = ::LoadIconW(nullptr, c.Icon == TDialogIcon::Question ? IDI_QUESTION : IDI_ERROR);
        }
        ::SendMessageW(control.Wnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        break;
    }
    default:
        break;
    }
    ::SetWindowPos(control.Wnd, nullptr, ScaleToDpi(c.Bounds.Left, FDpi), ScaleToDpi(c.Bounds.Top, FDpi), width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TWin32FormView::MeasureLabel(const TControl& control, int width) const
{
    const TWindowDC dc(control.Wnd);
    const TSelectObject font(dc.Get(), control.Font.Get());
    std::wstring text = TextOf(control.Wnd);
    if (text.empty())
        text = L" ";
    RECT rect{0, 0, width, 0};
    const UINT format = DT_CALCRECT | DT_EXPANDTABS | (control.Desc.WordWrap ? DT_WORDBREAK : DT_SINGLELINE);
    ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect, format);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void TWin32FormView::ApplyBounds()
{
    ++FPlacing;
    const TRect& b = FDesc.Bounds;
    int width = ScaleToDpi(b.Width, FDpi);
    int height = ScaleToDpi(b.Height, FDpi);
    if (FDesc.ClientSize) {
        RECT rect{0, 0, width, height};
        AdjustWindowRectForDpi(rect, FStyle, FExStyle, FDpi);
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
    ::SetWindowPos(FWnd.Get(), nullptr, ScaleToDpi(b.Left, FDpi), ScaleToDpi(b.Top, FDpi), width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    --FPlacing;
}

TRect TWin32FormView::CurrentBounds() const
{
    RECT outer{};
    ::GetWindowRect(FWnd.Get(), &outer);
    TRect bounds{ScaleToDesign(outer.left, FDpi), ScaleToDesign(outer.top, FDpi),
                 ScaleToDesign(outer.right - outer.left, FDpi), ScaleToDesign(outer.bottom - outer.top, FDpi)};
    if (FDesc.ClientSize) {
        // The same measure that SetBounds takes, so that a moved form comes back at its size.
        RECT client{};
        ::GetClientRect(FWnd.Get(), &client);
        bounds.Width = ScaleToDesign(client.right, FDpi);
        bounds.Height = ScaleToDesign(client.bottom, FDpi);
    }
    return bounds;
}

void TWin32FormView::SetBounds(TRect bounds)
{
    FDesc.Bounds = bounds;
    ApplyBounds();
}

} // namespace quillbox::win32
