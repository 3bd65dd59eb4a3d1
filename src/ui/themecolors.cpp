#include "ui/themecolors.h"

#include <QPalette>
#include <QString>
#include <algorithm>

namespace themecolors {

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor onWindow(const QColor& designed, const QPalette& palette) {
    if (!isDark(palette) || !designed.isValid())
        return designed;
    // A dark text colour mirrored to the light side; a pure colour such as
    // blue or red, already in the middle, lifted towards white.
    constexpr int leastLightness = 180;
    const QColor hsl = designed.toHsl();
    const int lightness = std::max({hsl.lightness(), 255 - hsl.lightness(), leastLightness});
    return QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness, hsl.alpha()).toRgb();
}

QString styleColor(const QString& designed, const QPalette& palette) {
    if (!isDark(palette))
        return designed;
    return onWindow(QColor(designed), palette).name();
}

} // namespace themecolors
