#pragma once

#include "platform/Menus.h"

#include "platform/win32/Win32Api.h"

namespace quillbox::win32 {

// Popup menus through TrackPopupMenuEx, owned by a hidden window of their own.
class TWin32Menus final : public IMenus
{
public:
    explicit TWin32Menus(HWND owner) : FOwner(owner) {}

    int TrackPopupMenu(const std::vector<std::string>& captions, TPoint at) override;

private:
    HWND FOwner;
};

} // namespace quillbox::win32
