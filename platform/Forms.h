#pragma once

#include "platform/Classes.h"
#include "platform/FormView.h"

#include <memory>
#include <string>
#include <vector>

// The class library's forms and controls. A form keeps all of its logic here (modal showing,
// keyboard navigation, default and cancel buttons, focus-entry events, closing rules) and drives a
// thin platform view that only draws the controls and reports what the user does.

class TForm;

// Modal results.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

enum class TPosition { poDesigned, poScreenCenter };

enum class TFormStyle { fsNormal, fsStayOnTop };

// A control on a form. Its index is its place in the form's control list, which is how the platform
// view names it.
class TControl : public TComponent
{
public:
    TControl(TForm* form, quillbox::TControlKind kind);

    TForm* Form() const { return FForm; }
    quillbox::TControlKind Kind() const { return FKind; }
    int Index() const { return FIndex; }
    bool TabStop() const;

    TControl* Parent = nullptr; // a panel, or null for the form itself
    quillbox::TRect Bounds;
    quillbox::TFontDesc Font;
    bool ParentFont = true;
    int TabOrder = -1;
    TNotifyEvent OnEnter;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);

    // Gives the control the keyboard focus and makes it its form's active control.
    void SetFocus();

protected:
    friend class TForm;
    std::string FCaption;

private:
    TForm* FForm;
    quillbox::TControlKind FKind;
    int FIndex;
};

class TLabel : public TControl
{
public:
    explicit TLabel(TForm* form) : TControl(form, quillbox::TControlKind::Label) {}
    quillbox::TAlignment Alignment = quillbox::TAlignment::Left;
    bool WordWrap = false;
    bool AutoSize = true;
};

class TButton : public TControl
{
public:
    explicit TButton(TForm* form) : TControl(form, quillbox::TControlKind::Button) {}
    bool Default = false; // clicked by Enter when the focus is not on a button
    bool Cancel = false;  // clicked by Esc
    int ModalResult = mrNone;
    TNotifyEvent OnClick;

    // Sets the form's modal result to the button's, then runs OnClick.
    void Click();
};

class TEdit : public TControl
{
public:
    explicit TEdit(TForm* form) : TControl(form, quillbox::TControlKind::Edit) {}
    const std::string& Text() const { return FCaption; }
    void SetText(const std::string& text) { SetCaption(text); }
    void Clear() { SetText(std::string()); }
};

// A drop-down list: the user can only pick one of its items.
class TComboBox : public TControl
{
public:
    explicit TComboBox(TForm* form) : TControl(form, quillbox::TControlKind::ComboBox) {}
    std::vector<std::string> Items;
    int ItemHeight = 0;

    // -1 when no item is selected.
    int ItemIndex() const { return FItemIndex; }
    // An index outside the items leaves no item selected.
    void SetItemIndex(int index);

private:
    friend class TForm;
    // -1 for an index outside the items.
    int Clamped(int index) const { return index >= 0 && static_cast<std::size_t>(index) < Items.size() ? index : -1; }
    int FItemIndex = -1;
};

class TPanel : public TControl
{
public:
    explicit TPanel(TForm* form) : TControl(form, quillbox::TControlKind::Panel) {}
    bool Lowered = false;
};

class TImage : public TControl
{
public:
    explicit TImage(TForm* form) : TControl(form, quillbox::TControlKind::Image) {}
    std::string Picture; // the bytes of an .ico file
    quillbox::TDialogIcon StandardIcon = quillbox::TDialogIcon::None;
    bool AutoSize = false;
};

// A top-level window. It is created hidden; its platform view is made when it is first shown.
class TForm : public TComponent, private quillbox::IFormEvents
{
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    std::string Caption;
    quillbox::TRect Bounds; // outer bounds (or the client area with ClientSize)
    bool ClientSize = false;
    TPosition Position = TPosition::poDesigned;
    TFormStyle FormStyle = TFormStyle::fsNormal;
    quillbox::TBorderStyle BorderStyle = quillbox::TBorderStyle::Sizeable;
    quillbox::TFontDesc Font;
    std::string Icon; // the bytes of the window's own .ico; empty for the application's
    TNotifyEvent OnCreate;
    TNotifyEvent OnActivate;

    bool Visible() const { return FVisible; }
    bool Modal() const { return FModal; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int result);
    TControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TControl* control);
    const std::vector<TControl*>& Controls() const { return FControls; }

    // Makes the form visible and brings it to the front, also when it is visible already.
    void Show();
    void Hide();
    // Shows the form modally: refuses a visible or modal form (EInvalidOperation), shows it, fires
    // activation, resets the modal result, runs a nested loop until a modal result is set or the
    // application ends (mrCancel), hides the form and returns the result.
    int ShowModal();
    // A modal form closes with mrCancel; the main form ends the application; any other form hides.
    void Close();

protected:
    // Runs OnCreate under the error report. The form loader calls it once the resource is read.
    void DoCreate();

private:
    friend class TControl;
    friend class TComboBox;
    int AddControl(TControl* control);
    // The control of a platform report's index, or null for one outside the list.
    TControl* ControlAt(int index) const;
    void ControlChanged(TControl* control);
    void FocusControl(TControl* control);
    quillbox::TFormDesc Describe() const;
    void ShowView(bool modal);
    void Activate();
    void SelectNext(TControl* from, bool forward);
    TButton* FindButton(bool wantDefault) const;
    template <class F>
    void Guarded(F&& handler) noexcept;

    // The platform's reports.
    void Activated() override;
    void CloseRequested() override;
    void FocusEntered(int control) override;
    void Clicked(int control) override;
    void KeyPressed(int control, quillbox::TKey key) override;
    void TextEdited(int control, const std::string& text) override;
    void ItemSelected(int control, int index) override;
    void Moved(quillbox::TRect bounds) override;

    std::unique_ptr<quillbox::IFormView> FView;
    std::vector<TControl*> FControls;
    TControl* FActiveControl = nullptr;
    TControl* FFocused = nullptr;
    bool FVisible = false;
    bool FModal = false;
    bool FPlaced = false;
    int FModalResult = mrNone;
};
