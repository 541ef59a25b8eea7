// SPDX-License-Identifier: MIT
#include "contrast.h"

#include <QPalette>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kestrow::ui {
namespace {

constexpr const char* kDesignedColour = "kestrowDesignedColour";
constexpr const char* kMinimumContrast = "kestrowMinimumContrast";

double Linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

void PaintTextWith(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, colour);
    }
    widget->setPalette(palette);
}

}  // namespace

double RelativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) +
           0.0722 * Linear(rgb.blueF());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDark(const QColor& background) {
    return ContrastRatio(background, Qt::white) > ContrastRatio(background, Qt::black);
}

QColor Readable(const QColor& designed, const QColor& background, double minimum) {
    if (!IsDark(background) || ContrastRatio(designed, background) >= minimum) return designed;
    const QColor hsl = designed.toHsl();
    const auto at = [&hsl](double lightness) {
        return QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), lightness).toRgb();
    };
    // Lightness only ever raises the luminance here, so halve the interval
    // down to the 8-bit channels' resolution.
    double low = hsl.lightnessF();
    double high = 1.0;
    for (int i = 0; i < 16; ++i) {
        const double middle = (low + high) / 2;
        (ContrastRatio(at(middle), background) >= minimum ? high : low) = middle;
    }
    // Rounding to 8-bit channels may take a hair off the contrast.
    QColor colour = at(high);
    while (ContrastRatio(colour, background) < minimum && high < 1) {
        high = std::min(1.0, high + 1.0 / 255);
        colour = at(high);
    }
    return colour;
}

void SetDesignedTextColour(QWidget* widget, const QColor& designed, double minimum) {
    widget->setProperty(kDesignedColour, designed);
    widget->setProperty(kMinimumContrast, minimum);
    QWidget* window = widget->window();
    const QColor background = window->palette().color(QPalette::Window);
    const QColor colour =
        designed.isValid() ? designed : window->palette().color(QPalette::Disabled, QPalette::WindowText);
    PaintTextWith(widget, Readable(colour, background, minimum));
}

void ApplyDesignedTextColours(QWidget* window) {
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const QVariant designed = widget->property(kDesignedColour);
        if (!designed.isValid()) continue;
        SetDesignedTextColour(widget, designed.value<QColor>(),
                              widget->property(kMinimumContrast).toDouble());
    }
}

}  // namespace kestrow::ui
