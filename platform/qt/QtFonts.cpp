#include "platform/qt/QtFonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace quillbox::qt {

namespace {

constexpr double KDesignDpi = 120.0;

const QStringList& GothicFamilies()
{
    static const QStringList families = {"IPAPGothic", "IPAGothic",    "Noto Sans CJK JP",
                                         "VL PGothic", "TakaoPGothic", "Droid Sans Japanese"};
    return families;
}

QStringList LookAlikes(const QString& name)
{
    if (name.contains(QStringLiteral("明朝")) || name.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive))
        return {"IPAPMincho", "IPAMincho", "Noto Serif CJK JP", "TakaoPMincho"};
    if (name == QStringLiteral("Century") || name == QStringLiteral("Algerian"))
        return {"Century Schoolbook L", "C059", "TeX Gyre Schola", "DejaVu Serif", "Liberation Serif"};
    return {};
}

} // namespace

TDesignScale TDesignScale::OfScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return TDesignScale(screen != nullptr ? screen->logicalDotsPerInch() / KDesignDpi : 1.0);
}

int TDesignScale::ToScreen(std::int32_t design) const
{
    return static_cast<int>(std::lround(design * FFactor));
}

std::int32_t TDesignScale::ToDesign(int screen) const
{
    return static_cast<std::int32_t>(std::lround(screen / FFactor));
}

QRect TDesignScale::ToScreen(const TRect& design) const
{
    return {ToScreen(design.Left), ToScreen(design.Top), ToScreen(design.Width), ToScreen(design.Height)};
}

TRect TDesignScale::ToDesign(const QRect& screen) const
{
    return {ToDesign(screen.x()), ToDesign(screen.y()), ToDesign(screen.width()), ToDesign(screen.height())};
}

QStringList FontFamilies(const std::string& name)
{
    const QString requested = QString::fromStdString(name);
    QStringList families;
    auto add = [&families](const QString& family) {
        if (!families.contains(family) && QFontDatabase::hasFamily(family))
            families.append(family);
    };
    add(requested);
    for (const QString& family : LookAlikes(requested))
        add(family);
    for (const QString& family : GothicFamilies())
        add(family);
    return families;
}

QFont FontFor(const TFontDesc& desc, const TDesignScale& scale)
{
    QFont font;
    const QStringList families = FontFamilies(desc.Name);
    if (!families.isEmpty())
        font.setFamilies(families);
    font.setPixelSize(std::max(1, scale.ToScreen(std::abs(desc.Height))));
    font.setBold(desc.Bold);
    font.setItalic(desc.Italic);
    return font;
}

QColor ColorOf(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xff), static_cast<int>((bgr >> 8) & 0xff),
                  static_cast<int>((bgr >> 16) & 0xff));
}

} // namespace quillbox::qt
