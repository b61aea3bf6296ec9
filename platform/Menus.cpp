#include "platform/Menus.h"

#include "platform/Platform.h"

void TMenuItem::Click()
{
    if (OnClick.Assigned())
        OnClick(this);
}

void TPopupMenu::Popup(std::int32_t x, std::int32_t y)
{
    std::vector<std::string> captions;
    captions.reserve(Items.size());
    for (const TMenuItem* item : Items)
        captions.push_back(item->Caption);
    const int chosen = quillbox::Platform().Menus().TrackPopupMenu(captions, {x, y});
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < Items.size())
        Items[static_cast<std::size_t>(chosen)]->Click();
}
