#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillbox {

// A rectangle in design pixels (120 pixels per inch). The platform scales it to the screen.
struct TRect
{
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool operator==(const TRect&) const = default;
};

struct TFontDesc
{
    std::string Name{};       // as the resource names it; the platform substitutes what it has
    std::int32_t Height = 15; // character height in design pixels
    bool Bold = false;
    bool Italic = false;
    std::uint32_t Color = 0; // 0x00BBGGRR
};

enum class TControlKind {
    Label,
    Button,
    Edit,
    ComboBox, // a drop-down list: the user picks one of its items, types nothing
    Panel,
    Image
};

enum class TAlignment { Left, Center, Right };

enum class TDialogIcon { None, Question, Error };

// One control as the platform draws it. Controls are numbered by their index in TFormDesc::Controls;
// a control's parent comes before it.
struct TControlDesc
{
    TControlKind Kind = TControlKind::Label;
    int Parent = -1; // index of the parent panel, or -1 for the form itself
    TRect Bounds;
    TFontDesc Font;
    std::string Caption;                  // label, button; the initial text of an edit box
    std::vector<std::string> Items;       // drop-down list
    std::string Image;                    // image: the bytes of an .ico file
    TDialogIcon Icon = TDialogIcon::None; // image: a standard icon instead of Image
    TAlignment Alignment = TAlignment::Left;
    bool WordWrap = false;
    bool AutoSize = false;
    bool Lowered = false; // panel: lowered bevel
    bool TabStop = false; // takes the focus from the keyboard
    bool Default = false; // button: drawn as the default button
    std::int32_t ItemHeight = 0;
};

enum class TBorderStyle {
    Sizeable, // title bar, system menu, minimise and maximise boxes, resizable frame
    Dialog    // fixed size, dialog frame, a close box only
};

// A form as the platform draws it.
struct TFormDesc
{
    std::string Caption;
    TRect Bounds;            // outer bounds, or the client area when ClientSize is set
    bool ClientSize = false; // Bounds.Width/Height give the client area
    TBorderStyle Border = TBorderStyle::Sizeable;
    bool StayOnTop = false;
    TFontDesc Font;
    std::string Icon; // the window's icon: the bytes of an .ico file; empty for the application's
    std::vector<TControlDesc> Controls;
};

// Keys the form itself handles; the platform does no keyboard navigation of its own.
enum class TKey { Enter, Escape, Tab, ShiftTab };

// What the user does to a form, reported by the platform on the GUI thread. The core handles each
// report completely (it may run nested loops inside it) and never lets an exception out.
class IFormEvents
{
public:
    IFormEvents() = default;
    IFormEvents(const IFormEvents&) = delete;
    IFormEvents& operator=(const IFormEvents&) = delete;
    virtual ~IFormEvents() = default;

    // The window became the active window.
    virtual void Activated() = 0;
    // The close box, the system menu's close or its keyboard equivalent.
    virtual void CloseRequested() = 0;
    // The keyboard focus moved onto a control, whatever moved it (a click, SetFocus).
    virtual void FocusEntered(int control) = 0;
    // A button was clicked (mouse release on it, or Space while it has the focus).
    virtual void Clicked(int control) = 0;
    // One of the form's own keys, pressed while `control` has the focus (-1: none).
    virtual void KeyPressed(int control, TKey key) = 0;
    // The user changed an edit box's text, or picked an item of a drop-down list.
    virtual void TextEdited(int control, const std::string& text) = 0;
    virtual void ItemSelected(int control, int index) = 0;
    // The user moved or resized the window (design pixels, in the measure of TFormDesc::Bounds: the
    // outer top-left, and the client size when ClientSize is set).
    virtual void Moved(TRect bounds) = 0;
};

// The platform's window for one form. It starts hidden; it reports to the IFormEvents it was made with.
class IFormView
{
public:
    IFormView() = default;
    IFormView(const IFormView&) = delete;
    IFormView& operator=(const IFormView&) = delete;
    virtual ~IFormView() = default;

    virtual void SetBounds(TRect bounds) = 0;
    // Shows the window at its bounds and makes it the active window. A modal showing disables the
    // program's other visible windows until it is hidden.
    virtual void Show(bool modal) = 0;
    virtual void Hide() = 0;
    virtual void BringToFront() = 0;
    // Gives the control the keyboard focus; the platform reports FocusEntered when it arrives.
    virtual void SetFocus(int control) = 0;
    virtual void SetText(int control, const std::string& text) = 0;
    // -1, or an index outside the items, shows no item.
    virtual void SetItemIndex(int control, int index) = 0;
};

// Forms, loops and message boxes.
class IForms
{
public:
    IForms() = default;
    IForms(const IForms&) = delete;
    IForms& operator=(const IForms&) = delete;
    virtual ~IForms() = default;

    virtual std::unique_ptr<IFormView> CreateView(const TFormDesc& desc, IFormEvents& events) = 0;

    // The screen's size in design pixels.
    virtual TRect Screen() = 0;

    // Delivers messages and user input until `done` is true; checked after every delivery. Used for
    // the application's main loop and every nested modal loop. It also returns, with `done` still
    // false, when the session ends or the platform is told to quit: the application is ending then.
    virtual void RunLoop(const std::function<bool()>& done) = 0;
    // Makes the innermost RunLoop check `done` now (after a change made outside a delivery).
    virtual void WakeUp() = 0;

    // The error report's box: error icon, an OK button, owned by the application's window. Modal;
    // returns when the user has closed it.
    virtual void ErrorBox(const std::string& caption, const std::string& text) = 0;
    // The last-resort report's box: task-modal, error icon, an OK button.
    virtual void FatalBox(const std::string& caption, const std::string& text) = 0;
};

} // namespace quillbox
