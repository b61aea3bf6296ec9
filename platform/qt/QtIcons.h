#pragma once

#include "platform/Graphics.h"

#include <QIcon>

#include <string_view>
#include <unordered_map>

namespace quillbox::qt {

// Icon handles: entries of a table of QIcons made from .ico images. A handle is never 0 and is not
// given again while its icon lives.
class TQtIcons final : public IIcons
{
public:
    THandle CreateIconFromImage(const std::string& image) override;
    void DestroyIcon(THandle icon) override;

    // The icon of a handle; a null QIcon for 0 or a destroyed handle.
    QIcon Icon(THandle icon) const;
    std::size_t Count() const { return FIcons.size(); }

private:
    std::unordered_map<THandle, QIcon> FIcons;
    THandle FLast = 0;
};

// Every image of an .ico file as one QIcon; null when the bytes hold no icon.
QIcon IconFromImage(std::string_view image);

} // namespace quillbox::qt
