// Draws the application icon at one size as a PNG for the hicolor icon theme:
//   quillbox_icon_png ICO SIZE PNG
// The .ico holds pixel art at 32 x 32: whole multiples of its size are enlarged pixel by pixel, other
// sizes are resampled smoothly.

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fputs("usage: quillbox_icon_png ICO SIZE PNG\n", stderr);
        return 2;
    }
    const int size = QString::fromLocal8Bit(argv[2]).toInt();
    QImageReader reader(QString::fromLocal8Bit(argv[1]), "ico");
    // The largest image of the file is the best source.
    QImage best;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        if (image.width() > best.width())
            best = image;
    }
    if (best.isNull() || size <= 0) {
        std::fprintf(stderr, "quillbox_icon_png: no icon in %s\n", argv[1]);
        return 1;
    }
    const Qt::TransformationMode mode = size % best.width() == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
    const QImage scaled = best.convertToFormat(QImage::Format_ARGB32).scaled(size, size, Qt::KeepAspectRatio, mode);
    if (!scaled.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "quillbox_icon_png: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
