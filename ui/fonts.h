// The windows' fonts. The faces the layout was drawn with are asked for
// first; where they are missing, narrow faces of similar width come next, so
// that the texts still fit the fixed places of the controls.
#pragma once

#include <QFont>
#include <QString>

namespace kestrow::ui {

// The windows' default text: "MS Sans Serif" 7.5 pt, small enough that the
// longest captions ("Longitude", "Ouest = negative") stay inside their
// places in the narrow fallback faces too.
QFont DefaultFont();
// "MS Sans Serif" at the given size, bold.
QFont BoldFont(double points);
// "Arial" 8.25 pt italic, normal weight.
QFont SmallItalicFont();

// `font`, made smaller in quarter points where a fallback face is too wide
// for `text` to fit `width` pixels; never below 6 pt.
QFont FittedFont(QFont font, const QString& text, int width);

}  // namespace kestrow::ui
