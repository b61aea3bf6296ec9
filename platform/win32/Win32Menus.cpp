#include "platform/win32/Win32Menus.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Handles.h"

namespace quillbox::win32 {

int TWin32Menus::TrackPopupMenu(const std::vector<std::string>& captions, TPoint at)
{
    const TUniqueMenu menu(::CreatePopupMenu());
    if (!menu.Valid())
        return -1;
    // Command IDs are the indexes plus one: TrackPopupMenuEx answers 0 for a dismissed menu.
    UINT_PTR id = 1;
    for (const std::string& caption : captions)
        ::AppendMenuW(menu.Get(), MF_STRING, id++, Utf8ToWide(caption).c_str());

    // A notification-area menu closes on a click elsewhere only when its owner is the foreground
    // window, and the message posted afterwards lets the next click on the icon open it again.
    // https://learn.microsoft.com/en-us/windows/win32/api/winuser/nf-winuser-trackpopupmenu#remarks
    ::SetForegroundWindow(FOwner);
    const BOOL chosen =
        ::TrackPopupMenuEx(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                           at.X, at.Y, FOwner, nullptr);
    ::PostMessageW(FOwner, WM_NULL, 0, 0);
    return chosen > 0 ? static_cast<int>(chosen) - 1 : -1;
}

} // namespace quillbox::win32
