// SPDX-License-Identifier: MIT
#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace kestrow::ui {
namespace {

constexpr double kTwipsPerInch = 1440.0;

double logicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    // Without a screen (a headless start) the layout's own 96 DPI holds.
    return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

int twipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips * logicalDpi() / kTwipsPerInch));
}

int pixelsToTwips(int pixels) {
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / logicalDpi()));
}

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

}  // namespace kestrow::ui
