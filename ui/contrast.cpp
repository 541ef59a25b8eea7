// SPDX-License-Identifier: MIT
#include "contrast.h"

#include <QImage>
#include <QPalette>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kestrow::ui {
namespace {

constexpr const char* kDesignedColour = "kestrowDesignedColour";
constexpr const char* kMinimumContrast = "kestrowMinimumContrast";

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

void paintTextWith(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, colour);
    }
    widget->setPalette(palette);
}

// What `widget` is drawn on: its parent's own painting under it, such as the
// shading inside a frame, or the window's background where it fills its own.
QColor backgroundUnder(QWidget* widget) {
    QWidget* parent = widget->parentWidget();
    if (parent == nullptr || widget->autoFillBackground())
        return widget->window()->palette().color(QPalette::Window);
    QImage pixel(1, 1, QImage::Format_RGB32);
    const QPoint at = widget->geometry().topLeft() + QPoint(1, widget->height() / 2);
    parent->render(&pixel, QPoint(), QRegion(at.x(), at.y(), 1, 1), QWidget::DrawWindowBackground);
    return pixel.pixelColor(0, 0);
}

}  // namespace

double relativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool isDark(const QColor& background) {
    return contrastRatio(background, Qt::white) > contrastRatio(background, Qt::black);
}

QColor withContrast(const QColor& colour, const QColor& background, double minimum) {
    if (contrastRatio(colour, background) >= minimum) return colour;
    const QColor hsl = colour.toHsl();
    const auto at = [&hsl](double lightness) {
        return QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), lightness).toRgb();
    };
    // Away from the background's lightness, the luminance only ever moves
    // away from the background's: halve the interval between the colour and
    // white or black down to the 8-bit channels' resolution.
    const bool lighten = isDark(background);
    double near = hsl.lightnessF();
    double far = lighten ? 1.0 : 0.0;
    for (int i = 0; i < 16; ++i) {
        const double middle = (near + far) / 2;
        (contrastRatio(at(middle), background) >= minimum ? far : near) = middle;
    }
    // Rounding to 8-bit channels may take a hair off the contrast.
    const double step = lighten ? 1.0 / 255 : -1.0 / 255;
    QColor shown = at(far);
    while (contrastRatio(shown, background) < minimum && far > 0 && far < 1) {
        far = std::clamp(far + step, 0.0, 1.0);
        shown = at(far);
    }
    return shown;
}

QColor readable(const QColor& designed, const QColor& background, double minimum) {
    return withContrast(designed, background, minimum);
}

void setDesignedTextColour(QWidget* widget, const QColor& designed, double minimum) {
    widget->setProperty(kDesignedColour, designed);
    widget->setProperty(kMinimumContrast, minimum);
    QWidget* window = widget->window();
    const QColor background = backgroundUnder(widget);
    paintTextWith(widget,
                  readable(designed.isValid()
                               ? designed
                               : window->palette().color(QPalette::Disabled, QPalette::WindowText),
                           background, minimum));
}

void applyDesignedTextColours(QWidget* window) {
    const auto apply = [window] {
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            const QVariant designed = widget->property(kDesignedColour);
            if (!designed.isValid()) continue;
            setDesignedTextColour(widget, designed.value<QColor>(),
                                  widget->property(kMinimumContrast).toDouble());
        }
    };
    apply();
    QTimer::singleShot(0, window, apply);
}

}  // namespace kestrow::ui
