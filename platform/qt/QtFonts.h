#pragma once

#include "platform/FormView.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QStringList>

namespace quillbox::qt {

// Converts the resources' design pixels (120 per inch) to Qt's device-independent pixels and back.
// Qt already multiplies those by the screen's device pixel ratio, so the factor is the screen's logical
// DPI, which Qt 6 gives in the same units (https://doc.qt.io/qt-6/highdpi.html), over 120.
class TDesignScale
{
public:
    explicit TDesignScale(double factor) : FFactor(factor) {}
    // The factor of the primary screen; 1 without a screen.
    static TDesignScale OfScreen();

    double Factor() const { return FFactor; }
    int ToScreen(std::int32_t design) const;
    std::int32_t ToDesign(int screen) const;
    QRect ToScreen(const TRect& design) const;
    TRect ToDesign(const QRect& screen) const;

private:
    double FFactor;
};

// The families to draw a resource's font with, best first: the Windows fonts the resources name are
// rarely installed, so each is followed by look-alikes and then by Japanese fonts that are, so that
// Japanese captions render instead of empty boxes. Only installed families are listed.
QStringList FontFamilies(const std::string& name);

// A resource's font at the screen's size: its height is the character height in design pixels.
QFont FontFor(const TFontDesc& desc, const TDesignScale& scale);

// A colour given as 0x00BBGGRR.
QColor ColorOf(std::uint32_t bgr);

} // namespace quillbox::qt
