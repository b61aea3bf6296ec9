#pragma once

#include "platform/Classes.h"
#include "platform/Messages.h"

#include <string>
#include <vector>

namespace quillbox {

// Popup menus: the platform shows the captions at a screen point and tells which was chosen.
class IMenus
{
public:
    IMenus() = default;
    IMenus(const IMenus&) = delete;
    IMenus& operator=(const IMenus&) = delete;
    virtual ~IMenus() = default;

    // Shows a menu of `captions` ("&" marks the access letter) at `at` and returns when it closes:
    // the index chosen, or -1 when the menu was dismissed.
    virtual int TrackPopupMenu(const std::vector<std::string>& captions, TPoint at) = 0;
};

} // namespace quillbox

class TMenuItem : public TComponent
{
public:
    using TComponent::TComponent;

    std::string Caption;
    TNotifyEvent OnClick;

    // What choosing the item does: its OnClick, with the item as Sender.
    void Click();
};

// A menu of items it refers to (owned by the form, like every component).
class TPopupMenu : public TComponent
{
public:
    using TComponent::TComponent;

    std::vector<TMenuItem*> Items;

    // Shows the menu at the screen point and returns when it closes; a chosen item runs its own
    // handler before Popup returns.
    void Popup(std::int32_t x, std::int32_t y);
};
