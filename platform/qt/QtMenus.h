#pragma once

#include "platform/Menus.h"

namespace quillbox::qt {

// Popup menus as QMenu, run modally at a screen point. The "&" of a caption marks its access letter,
// as it does for Qt (https://doc.qt.io/qt-6/qaction.html#text-prop).
class TQtMenus final : public IMenus
{
public:
    int TrackPopupMenu(const std::vector<std::string>& captions, TPoint at) override;
};

} // namespace quillbox::qt
