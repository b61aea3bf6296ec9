#include "platform/Forms.h"

#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/Platform.h"
#include "platform/ScopeExit.h"

#include <algorithm>

using quillbox::TControlKind;

TControl::TControl(TForm* form, TControlKind kind) : TComponent(form), FForm(form), FKind(kind)
{
    FIndex = form->AddControl(this);
}

bool TControl::TabStop() const
{
    return FKind == TControlKind::Button || FKind == TControlKind::Edit || FKind == TControlKind::ComboBox;
}

void TControl::SetCaption(const std::string& caption)
{
    if (caption == FCaption)
        return;
    FCaption = caption;
    FForm->ControlChanged(this);
}

void TControl::SetFocus()
{
    FForm->FocusControl(this);
}

void TButton::Click()
{
    Form()->SetModalResult(ModalResult);
    if (OnClick.Assigned())
        OnClick(this);
}

void TComboBox::SetItemIndex(int index)
{
    FItemIndex = Clamped(index);
    Form()->ControlChanged(this);
}

TForm::TForm(TComponent* owner) : TComponent(owner) {}

TForm::~TForm() = default;

TControl* TForm::ControlAt(int index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < FControls.size() ? FControls[static_cast<std::size_t>(index)]
                                                                            : nullptr;
}

int TForm::AddControl(TControl* control)
{
    FControls.push_back(control);
    return static_cast<int>(FControls.size()) - 1;
}

void TForm::SetModalResult(int result)
{
    FModalResult = result;
    if (result != mrNone && FModal)
        quillbox::Platform().Forms().WakeUp();
}

void TForm::SetActiveControl(TControl* control)
{
    FActiveControl = control;
    if (FVisible && control != nullptr)
        FView->SetFocus(control->Index());
}

void TForm::ControlChanged(TControl* control)
{
    if (!FView)
        return;
    if (control->Kind() == TControlKind::ComboBox)
        FView->SetItemIndex(control->Index(), static_cast<TComboBox*>(control)->ItemIndex());
    else
        FView->SetText(control->Index(), control->FCaption);
}

void TForm::FocusControl(TControl* control)
{
    FActiveControl = control;
    if (FVisible)
        FView->SetFocus(control->Index());
}

quillbox::TFormDesc TForm::Describe() const
{
    quillbox::TFormDesc desc;
    desc.Caption = Caption;
    desc.Bounds = Bounds;
    desc.ClientSize = ClientSize;
    desc.Border = BorderStyle;
    desc.StayOnTop = FormStyle == TFormStyle::fsStayOnTop;
    desc.Font = Font;
    desc.Icon = Icon;
    for (const TControl* control : FControls) {
        quillbox::TControlDesc c;
        c.Kind = control->Kind();
        c.Parent = control->Parent != nullptr ? control->Parent->Index() : -1;
        c.Bounds = control->Bounds;
        c.Font = control->ParentFont ? Font : control->Font;
        c.Caption = control->FCaption;
        c.TabStop = control->TabStop();
        if (const auto* label = dynamic_cast<const TLabel*>(control)) {
            c.Alignment = label->Alignment;
            c.WordWrap = label->WordWrap;
            c.AutoSize = label->AutoSize;
        } else if (const auto* button = dynamic_cast<const TButton*>(control)) {
            c.Default = button->Default;
        } else if (const auto* combo = dynamic_cast<const TComboBox*>(control)) {
            c.Items = combo->Items;
            c.ItemHeight = combo->ItemHeight;
        } else if (const auto* panel = dynamic_cast<const TPanel*>(control)) {
            c.Lowered = panel->Lowered;
        } else if (const auto* image = dynamic_cast<const TImage*>(control)) {
            c.Image = image->Picture;
            c.Icon = image->StandardIcon;
            c.AutoSize = image->AutoSize;
        }
        desc.Controls.push_back(std::move(c));
    }
    return desc;
}

void TForm::ShowView(bool modal)
{
    auto& forms = quillbox::Platform().Forms();
    if (!FView) {
        FView = forms.CreateView(Describe(), *this);
        for (TControl* control : FControls)
            if (control->Kind() == TControlKind::ComboBox)
                ControlChanged(control);
    }
    // Centred at the first showing; from then on the form stays where the user left it.
    if (Position == TPosition::poScreenCenter && !FPlaced) {
        const quillbox::TRect screen = forms.Screen();
        Bounds.Left = std::max(0, (screen.Width - Bounds.Width) / 2);
        Bounds.Top = std::max(0, (screen.Height - Bounds.Height) / 2);
    }
    FPlaced = true;
    FView->SetBounds(Bounds);
    FVisible = true;
    FView->Show(modal);
}

void TForm::Show()
{
    if (FVisible) {
        FView->BringToFront();
        return;
    }
    ShowView(false);
}

void TForm::Hide()
{
    if (!FVisible)
        return;
    FVisible = false;
    FFocused = nullptr;
    FView->Hide();
}

int TForm::ShowModal()
{
    if (FVisible || FModal)
        throw EInvalidOperation("表示されているｳｨﾝﾄﾞｳをﾓｰﾀﾞﾙにすることはできません");
    FModal = true;
    const quillbox::TScopeExit leave([this]() noexcept { FModal = false; });
    ShowView(true);
    Activate();
    FModalResult = mrNone;
    quillbox::Platform().Forms().RunLoop([this] {
        if (Application != nullptr && Application->Terminated() && FModalResult == mrNone)
            FModalResult = mrCancel;
        return FModalResult != mrNone;
    });
    // A loop that returns by itself means the application is ending.
    if (FModalResult == mrNone) {
        FModalResult = mrCancel;
        if (Application != nullptr)
            Application->Terminate();
    }
    Hide();
    return FModalResult;
}

void TForm::Close()
{
    if (FModal)
        SetModalResult(mrCancel);
    else if (Application != nullptr && Application->MainForm() == this)
        Application->Terminate();
    else
        Hide();
}

void TForm::DoCreate()
{
    Guarded([this] {
        if (OnCreate.Assigned())
            OnCreate(this);
    });
}

void TForm::Activate()
{
    if (FActiveControl != nullptr && FVisible)
        FView->SetFocus(FActiveControl->Index());
    if (OnActivate.Assigned())
        OnActivate(this);
}

template <class F>
void TForm::Guarded(F&& handler) noexcept
{
    try {
        try {
            handler();
        } catch (const std::exception& e) {
            if (Application == nullptr)
                throw;
            Application->HandleException(e);
        }
    } catch (...) {
        std::terminate();
    }
}

void TForm::SelectNext(TControl* from, bool forward)
{
    std::vector<TControl*> order;
    for (TControl* control : FControls)
        if (control->TabStop())
            order.push_back(control);
    if (order.empty())
        return;
    std::stable_sort(order.begin(), order.end(),
                     [](const TControl* a, const TControl* b) { return a->TabOrder < b->TabOrder; });
    auto at = std::find(order.begin(), order.end(), from);
    std::size_t next = 0;
    if (at == order.end())
        next = forward ? 0 : order.size() - 1;
    else {
        const auto here = static_cast<std::size_t>(at - order.begin());
        next = forward ? (here + 1) % order.size() : (here + order.size() - 1) % order.size();
    }
    FocusControl(order[next]);
}

TButton* TForm::FindButton(bool wantDefault) const
{
    for (TControl* control : FControls)
        if (auto* button = dynamic_cast<TButton*>(control))
            if (wantDefault ? button->Default : button->Cancel)
                return button;
    return nullptr;
}

void TForm::Activated()
{
    Guarded([this] { Activate(); });
}

void TForm::CloseRequested()
{
    Guarded([this] { Close(); });
}

void TForm::FocusEntered(int control)
{
    Guarded([this, control] {
        TControl* entered = ControlAt(control);
        if (entered == nullptr || entered == FFocused)
            return;
        FFocused = entered;
        FActiveControl = entered;
        if (entered->OnEnter.Assigned())
            entered->OnEnter(entered);
    });
}

void TForm::Clicked(int control)
{
    Guarded([this, control] {
        if (auto* button = dynamic_cast<TButton*>(ControlAt(control)))
            button->Click();
    });
}

void TForm::KeyPressed(int control, quillbox::TKey key)
{
    Guarded([this, control, key] {
        TControl* focused = ControlAt(control) != nullptr ? ControlAt(control) : FFocused;
        switch (key) {
        case quillbox::TKey::Tab:
        case quillbox::TKey::ShiftTab:
            SelectNext(focused, key == quillbox::TKey::Tab);
            break;
        case quillbox::TKey::Enter:
            // Enter presses the focused button, or else the default button.
            if (auto* button = dynamic_cast<TButton*>(focused))
                button->Click();
            else if (TButton* byDefault = FindButton(true))
                byDefault->Click();
            break;
        case quillbox::TKey::Escape:
            if (TButton* cancel = FindButton(false))
                cancel->Click();
            break;
        }
    });
}

void TForm::TextEdited(int control, const std::string& text)
{
    if (TControl* edited = ControlAt(control))
        edited->FCaption = text;
}

void TForm::ItemSelected(int control, int index)
{
    if (auto* combo = dynamic_cast<TComboBox*>(ControlAt(control)))
        combo->FItemIndex = combo->Clamped(index);
}

void TForm::Moved(quillbox::TRect bounds)
{
    Bounds = bounds;
}
