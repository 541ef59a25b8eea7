// SPDX-License-Identifier: MIT
#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace kestrow::ui {
namespace {

constexpr double kTwipsPerInch = 1440.0;

double LogicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    // Without a screen (a headless start) the layout's own 96 DPI holds.
    return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips * LogicalDpi() / kTwipsPerInch));
}

int PixelsToTwips(int pixels) {
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / LogicalDpi()));
}

QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

}  // namespace kestrow::ui
