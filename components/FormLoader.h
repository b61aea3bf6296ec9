#pragma once

#include "platform/Forms.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Forms stated as data, the way a form resource states them, and the one loader that builds them.

enum class TResourceKind { Label, Button, Edit, ComboBox, Panel, Image, PopupMenu, MenuItem, TrayIcon, ClipDetector };

// A font as a resource states it. (Plain data: the resources are constant tables.)
struct TFontResource
{
    const char* Name = "";
    std::int32_t Height = 15;
    bool Bold = false;
    bool Italic = false;
    std::uint32_t Color = 0;

    quillbox::TFontDesc Desc() const { return {Name, Height, Bold, Italic, Color}; }
};

// One component of a form resource. Only the fields its kind has are read.
struct TComponentResource
{
    TResourceKind Kind = TResourceKind::Label;
    std::string Name{};
    std::string Parent{}; // a control's panel, a menu item's menu
    quillbox::TRect Bounds{};
    bool OwnFont = false; // the control sets Font instead of using the form's
    TFontResource Font{};
    std::string Caption{};
    std::vector<std::string> Items{};
    int ItemHeight = 0;
    int TabOrder = -1;
    bool Default = false;
    bool Cancel = false;
    int ModalResult = mrNone;
    quillbox::TAlignment Alignment = quillbox::TAlignment::Left;
    bool WordWrap = false;
    bool AutoSize = false; // images; labels always size themselves to their caption
    bool Lowered = false;
    std::string_view Picture{}; // image, tray icon: the bytes of an .ico file
    quillbox::TDialogIcon StandardIcon = quillbox::TDialogIcon::None;
    std::string TipHelp{};     // tray icon
    std::string LBPopupMenu{}; // tray icon: the name of its left-button menu
    std::string OnClick{};     // handler names, looked up in the form's published methods
    std::string OnEnter{};
    std::string OnClipChange{};
};

struct TFormResource
{
    std::string Caption{};
    quillbox::TRect Bounds{};
    bool ClientSize = false;
    TPosition Position = TPosition::poDesigned;
    TFormStyle FormStyle = TFormStyle::fsNormal;
    quillbox::TBorderStyle BorderStyle = quillbox::TBorderStyle::Sizeable;
    TFontResource Font{};
    std::string_view Icon{};
    std::string ActiveControl{};
    std::string OnCreate{};
    std::string OnActivate{};
    std::vector<TComponentResource> Components{};
};

// A form's published methods by name; an unknown name gives an unassigned event.
using TMethodTable = std::function<TNotifyEvent(const std::string& name)>;

// Builds the form's components from the resource in order, each marked as loading while its
// properties are read, then calls Loaded on each, the way the class library's reader does: a
// detector joins the viewer chain the moment its handler is set, a tray icon is added once all is read.
void LoadFormResource(TForm& form, const TFormResource& resource, const TMethodTable& methods);

[[noreturn]] void RaiseMissingComponent(const std::string& name);

// The form's component of that name and class; raises when there is none (a resource fault).
template <class T>
T* FindAs(const TForm& form, const std::string& name)
{
    auto* found = dynamic_cast<T*>(form.FindComponent(name));
    if (found == nullptr)
        RaiseMissingComponent(name);
    return found;
}
