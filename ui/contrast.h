// SPDX-License-Identifier: MIT
// Texts with colours of their own stay readable on any colour scheme. Each
// designed colour keeps its hue and is darkened on a light window, or
// lightened on a dark one, just as far as small text needs to be read: the
// usual 4.5:1 of the accessibility guidelines. The scheme's own disabled-text
// grey, used for hints, is held to the same floor.
#pragma once

#include <QColor>

class QWidget;

namespace kestrow::ui {

// What a text's colour has to reach against its background, the greys that
// are meant to step back (the change of day length, the sign hints) as well:
// they are small text too.
inline constexpr double kTextContrast = 4.5;

// Relative luminance (0 black .. 1 white) and the contrast ratio of two
// colours (1 .. 21), as accessibility guidelines measure them.
double relativeLuminance(const QColor& colour);
double contrastRatio(const QColor& a, const QColor& b);

// A background is dark where white text would stand out more than black.
bool isDark(const QColor& background);

// `colour` where it reaches `minimum` against `background`; otherwise the
// colour of the same hue and saturation, lighter on a dark background and
// darker on a light one, nearest to it that does.
QColor withContrast(const QColor& colour, const QColor& background, double minimum);

// withContrast, under the name the designed colours are painted by.
QColor readable(const QColor& designed, const QColor& background, double minimum);

// Gives `widget` a text colour of its own, kept readable on its window's
// background; an invalid `designed` stands for the palette's disabled-text
// colour, which follows the user's scheme.
void setDesignedTextColour(QWidget* widget, const QColor& designed, double minimum);
// Works the colours of the widgets in `window` out again, for its palette
// now, and once more when the event loop is back: a new scheme reaches the
// window before the frames its texts are drawn on.
void applyDesignedTextColours(QWidget* window);

}  // namespace kestrow::ui
