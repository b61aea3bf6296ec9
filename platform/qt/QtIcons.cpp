#include "platform/qt/QtIcons.h"

#include <QBuffer>
#include <QImageReader>

namespace quillbox::qt {

THandle TQtIcons::CreateIconFromImage(const std::string& image)
{
    QIcon icon = IconFromImage(image);
    if (icon.isNull())
        return 0;
    do
        ++FLast;
    while (FLast == 0 || FIcons.count(FLast) != 0);
    FIcons.emplace(FLast, std::move(icon));
    return FLast;
}

void TQtIcons::DestroyIcon(THandle icon)
{
    FIcons.erase(icon);
}

QIcon TQtIcons::Icon(THandle icon) const
{
    const auto it = FIcons.find(icon);
    return it != FIcons.end() ? it->second : QIcon();
}

QIcon IconFromImage(std::string_view image)
{
    QByteArray bytes(image.data(), static_cast<qsizetype>(image.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // Qt's "ico" image plugin numbers the images of the file
    // (https://doc.qt.io/qt-6/qimagereader.html#imageCount).
    QImageReader reader(&buffer, "ico");
    QIcon icon;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage picture = reader.read();
        if (!picture.isNull())
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon;
}

} // namespace quillbox::qt
