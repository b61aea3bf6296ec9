#include "components/FormLoader.h"

#include "components/TrayIcon.h"
#include "components/VxClipDetector.h"
#include "platform/Exceptions.h"
#include "platform/Menus.h"

#include <stdexcept>

void RaiseMissingComponent(const std::string& name)
{
    throw std::logic_error("form resource has no component " + name);
}

namespace {

TNotifyEvent Method(const TMethodTable& methods, const std::string& name)
{
    return name.empty() ? TNotifyEvent{} : methods(name);
}

void ApplyControl(TControl& control, const TComponentResource& res, TForm& form, const TMethodTable& methods)
{
    control.Bounds = res.Bounds;
    control.TabOrder = res.TabOrder;
    if (res.OwnFont) {
        control.ParentFont = false;
        control.Font = res.Font.Desc();
    }
    if (!res.Parent.empty())
        control.Parent = FindAs<TControl>(form, res.Parent);
    control.SetCaption(res.Caption);
    control.OnEnter = Method(methods, res.OnEnter);
}

} // namespace

void LoadFormResource(TForm& form, const TFormResource& res, const TMethodTable& methods)
{
    form.Caption = res.Caption;
    form.Bounds = res.Bounds;
    form.ClientSize = res.ClientSize;
    form.Position = res.Position;
    form.FormStyle = res.FormStyle;
    form.BorderStyle = res.BorderStyle;
    form.Font = res.Font.Desc();
    form.Icon = std::string(res.Icon);
    form.OnCreate = Method(methods, res.OnCreate);
    form.OnActivate = Method(methods, res.OnActivate);

    std::vector<TComponent*> loading;
    for (const TComponentResource& c : res.Components) {
        TComponent* made = nullptr;
        switch (c.Kind) {
        case TResourceKind::Label: {
            auto* label = new TLabel(&form);
            label->Alignment = c.Alignment;
            label->WordWrap = c.WordWrap;
            made = label;
            break;
        }
        case TResourceKind::Button: {
            auto* button = new TButton(&form);
            button->Default = c.Default;
            button->Cancel = c.Cancel;
            button->ModalResult = c.ModalResult;
            button->OnClick = Method(methods, c.OnClick);
            made = button;
            break;
        }
        case TResourceKind::Edit:
            made = new TEdit(&form);
            break;
        case TResourceKind::ComboBox: {
            auto* combo = new TComboBox(&form);
            combo->Items = c.Items;
            combo->ItemHeight = c.ItemHeight;
            made = combo;
            break;
        }
        case TResourceKind::Panel: {
            auto* panel = new TPanel(&form);
            panel->Lowered = c.Lowered;
            made = panel;
            break;
        }
        case TResourceKind::Image: {
            auto* image = new TImage(&form);
            image->Picture = std::string(c.Picture);
            image->StandardIcon = c.StandardIcon;
            image->AutoSize = c.AutoSize;
            made = image;
            break;
        }
        case TResourceKind::PopupMenu:
            made = new TPopupMenu(&form);
            break;
        case TResourceKind::MenuItem: {
            auto* item = new TMenuItem(&form);
            item->Caption = c.Caption;
            item->OnClick = Method(methods, c.OnClick);
            FindAs<TPopupMenu>(form, c.Parent)->Items.push_back(item);
            made = item;
            break;
        }
        case TResourceKind::TrayIcon: {
            auto* tray = new TTrayIcon(&form);
            tray->BeginLoading();
            tray->Icon()->LoadFromImage(std::string(c.Picture));
            tray->SetTipHelp(c.TipHelp);
            made = tray;
            break;
        }
        case TResourceKind::ClipDetector: {
            auto* detector = new TVxClipDetector(&form);
            detector->BeginLoading();
            detector->SetOnClipChange(Method(methods, c.OnClipChange));
            made = detector;
            break;
        }
        }
        made->SetName(c.Name);
        made->BeginLoading();
        if (auto* control = dynamic_cast<TControl*>(made))
            ApplyControl(*control, c, form, methods);
        loading.push_back(made);
    }
    // References to other components are fixed up once all of them exist, as the reader does.
    for (const TComponentResource& c : res.Components)
        if (c.Kind == TResourceKind::TrayIcon && !c.LBPopupMenu.empty())
            FindAs<TTrayIcon>(form, c.Name)->LBPopupMenu = FindAs<TPopupMenu>(form, c.LBPopupMenu);
    if (!res.ActiveControl.empty())
        form.SetActiveControl(FindAs<TControl>(form, res.ActiveControl));
    for (TComponent* component : loading)
        component->Loaded();
}
