#include "platform/qt/QtMenus.h"

#include <QMenu>

#include <algorithm>

namespace quillbox::qt {

int TQtMenus::TrackPopupMenu(const std::vector<std::string>& captions, TPoint at)
{
    QMenu menu;
    std::vector<QAction*> actions;
    actions.reserve(captions.size());
    for (const std::string& caption : captions)
        actions.push_back(menu.addAction(QString::fromStdString(caption)));
    // exec runs a nested event loop: clipboard changes and other messages go on being handled while
    // the menu is open, as they do in Windows' TrackPopupMenu.
    QAction* chosen = menu.exec(QPoint(at.X, at.Y));
    const auto it = std::find(actions.begin(), actions.end(), chosen);
    return it != actions.end() ? static_cast<int>(it - actions.begin()) : -1;
}

} // namespace quillbox::qt
