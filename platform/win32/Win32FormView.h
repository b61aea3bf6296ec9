#pragma once

#include "platform/FormView.h"
#include "platform/win32/Win32Handles.h"

#include "platform/win32/Win32Api.h"

#include <string>
#include <vector>

namespace quillbox::win32 {

// One form as a real top-level window with native controls, laid out from the core's description
// at the window's density. It does no keyboard navigation of its own and has no dialog manager:
// Tab, Enter and Escape are taken out of the message loop (TakeKey) and reported, and so is every
// focus change, click, user edit, pick, activation, move and close request. Nothing the core does
// in answer is undone here: the close box only reports, and the core decides.
// Invariants: the window's GWLP_USERDATA points at this view until its destruction begins; control
// i of the description is FControls[i], a child with the ID i + 1.
class TWin32FormView final : public IFormView
{
public:
    // Makes the window and its controls, hidden. `owner` is the application's window, so that the
    // form has no taskbar button of its own.
    TWin32FormView(HINSTANCE instance, HWND owner, const TFormDesc& desc, IFormEvents& events);
    TWin32FormView(const TWin32FormView&) = delete;
    TWin32FormView& operator=(const TWin32FormView&) = delete;
    ~TWin32FormView() override;

    void SetBounds(TRect bounds) override;
    void Show(bool modal) override;
    void Hide() override;
    void BringToFront() override;
    void SetFocus(int control) override;
    void SetText(int control, const std::string& text) override;
    void SetItemIndex(int control, int index) override;

    HWND Handle() const noexcept { return FWnd.Get(); }
    HWND ControlHandle(int control) const;

    // Reports a key press of Tab, Shift+Tab, Enter or Escape in a form as the form's own key, and
    // tells whether it did. Called for every message the thread's loops retrieve.
    static bool TakeKey(const MSG& msg);

    // The window classes of forms and panels, registered once per process.
    static void RegisterClasses(HINSTANCE instance);
    static void UnregisterClasses(HINSTANCE instance);

private:
    static constexpr const wchar_t* KPanelClass = L"QuillboxPanel";
    static constexpr UINT_PTR KSubclassId = 1;

    struct TControl
    {
        TControlDesc Desc;
        HWND Wnd = nullptr;
        TUniqueFont Font;
        TUniqueIcon OwnedIcon;
    };

    static LRESULT CALLBACK FormProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK PanelProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK ControlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data) noexcept;
    static BOOL CALLBACK DisableOther(HWND wnd, LPARAM self) noexcept;
    static TWin32FormView* FromWindow(HWND wnd) noexcept;
    static std::wstring TextOf(HWND wnd);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void HandleCommand(int control, UINT code);
    void HandleActivate(WPARAM wParam);
    void ControlFocused(HWND wnd);
    void CreateControls(HINSTANCE instance);
    void Layout();
    void LayoutControl(TControl& control);
    SIZE MeasureLabel(const TControl& control, int width) const;
    void ApplyBounds();
    TRect CurrentBounds() const;
    void ShowDefaultLook(int focused);
    int IndexOf(HWND wnd) const;
    bool Valid(int control) const;

    template <class F>
    void Report(F&& report) noexcept;

    IFormEvents& FEvents;
    TFormDesc FDesc;
    DWORD FStyle = 0;
    DWORD FExStyle = 0;
    TUniqueWindow FWnd;
    TUniqueIcon FBigIcon;
    TUniqueIcon FSmallIcon;
    std::vector<TControl> FControls;
    std::vector<HWND> FDisabled; // the windows a modal showing disabled
    HWND FSavedFocus = nullptr;
    UINT FDpi = 96;
    int FPlacing = 0; // >0 while the view moves its own window: no Moved report
    int FQuiet = 0;   // >0 while the view sets a text itself: no TextEdited report
};

} // namespace quillbox::win32
