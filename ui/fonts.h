// SPDX-License-Identifier: MIT
// The windows' fonts. The faces the layout was drawn with are seldom on a
// free desktop, so the windows take the first of a few common faces of
// similar width that the machine has, and shrink a text's size where even
// that face would not fit its label.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>

namespace kestrow::ui {

// The windows' default text, 7.5 pt: small enough that the longest captions
// ("Longitude", "Ouest = negative") stay inside their places.
QFont defaultFont();
// The headings' and times' face at the given size, bold.
QFont boldFont(double points);
// 8.25 pt italic, normal weight.
QFont smallItalicFont();

// `font`, made smaller in steps of a quarter point where the face at hand is
// too wide or too tall for any of `texts` to show whole in `room` (pixels),
// laid out as a top-aligned label lays it out, wrapped at word boundaries
// into at most `lines` lines; never below 6 pt.
QFont fittedFont(QFont font, const QStringList& texts, const QSize& room, int lines = 1);

}  // namespace kestrow::ui
