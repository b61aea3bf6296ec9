#include "fake/FakePlatform.h"

namespace quillbox::test {

bool TFakeShell::Shell_NotifyIcon(std::uint32_t operation, const TNotifyIconDataA& data)
{
    Calls.push_back({operation, data});
    if (Refuse)
        return false;
    const auto key = std::make_pair(static_cast<THandle>(data.hWnd), data.uID);
    switch (operation) {
    case nim::NIM_ADD:
        return Shown.insert(key).second;
    case nim::NIM_MODIFY:
        return Shown.count(key) != 0;
    case nim::NIM_DELETE:
        return Shown.erase(key) != 0;
    default:
        return false;
    }
}

THandle TFakeIcons::CreateIconFromImage(const std::string& image)
{
    if (image.empty())
        return 0;
    const THandle icon = FNext++;
    Live.insert(icon);
    return icon;
}

int TFakeMenus::TrackPopupMenu(const std::vector<std::string>& captions, TPoint at)
{
    Showings.push_back({captions, at});
    return Choose ? Choose(captions) : -1;
}

} // namespace quillbox::test
