// SPDX-License-Identifier: MIT
#include "main_window_layout.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "contrast.h"
#include "fonts.h"
#include "twips.h"

namespace kestrow::ui::layout {
namespace {

QFont faceOf(Face face) {
    switch (face) {
        case Face::Heading:
            return boldFont(9.75);
        case Face::SmallItalic:
            return smallItalicFont();
        case Face::Default:
            break;
    }
    return defaultFont();
}

void paintInk(QLabel* label, Ink ink) {
    switch (ink) {
        case Ink::DarkGrey:
            setDesignedTextColour(label, QColor(64, 64, 64), kTextContrast);
            break;
        case Ink::Grey:
            setDesignedTextColour(label, QColor(128, 128, 128), kTextContrast);
            break;
        case Ink::SchemeGrey:
            // An invalid colour stands for the palette's disabled text, so
            // that the hints follow the scheme.
            setDesignedTextColour(label, QColor(), kTextContrast);
            break;
        case Ink::Own:
            break;
    }
}

QStringList textsToFit(const LabelDesign& design) {
    if (design.mustFit1 == nullptr) return {QString::fromUtf8(design.text)};
    QStringList texts{QString::fromUtf8(design.mustFit1)};
    if (design.mustFit2 != nullptr) texts << QString::fromUtf8(design.mustFit2);
    return texts;
}

// Where the face must show the texts whole, with a pixel to spare inside the box.
QSize roomIn(const QLabel* label) { return label->contentsRect().adjusted(1, 1, -1, -1).size(); }

// Whether `text` in `font`, centred by its advance, draws ink wider than `width`.
bool inkWider(const QFont& font, const QString& text, int width) {
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(text);
    const double advance = metrics.horizontalAdvance(text);
    const double overhang = std::max({0.0, -ink.left(), ink.right() - advance});
    return advance + 2 * overhang > width;
}

}  // namespace

QRect pixels(const Place& place) {
    return twipsRect(place.left, place.top, place.width, place.height);
}

QLabel* makeLabel(QWidget* parent, const LabelDesign& design) {
    auto* label = new QLabel(QString::fromUtf8(design.text), parent);
    label->setObjectName(QLatin1String(design.name));
    label->setTextFormat(Qt::PlainText);  // what the program writes there is never markup
    label->setGeometry(pixels(design.place));
    label->setAlignment((design.align == Align::Left ? Qt::AlignLeft : Qt::AlignHCenter) |
                        Qt::AlignTop);
    label->setWordWrap(true);
    // From the top of the box, as the layout places it: a framed label would
    // otherwise be indented by half an "x" and its text pushed onto its
    // bottom border.
    label->setIndent(0);
    if (design.border == Border::Box) label->setFrameStyle(QFrame::Box | QFrame::Plain);
    paintInk(label, design.ink);
    // The face, smaller where it would not show the texts whole.
    label->setFont(
        fittedFont(faceOf(design.face), textsToFit(design), roomIn(label), design.lines));
    return label;
}

void setFittedText(QLabel* label, const LabelDesign& design, const QString& text) {
    // The design's texts still count, so that every text that fits them keeps
    // one size.
    const QSize room = roomIn(label);
    const QFont usual = fittedFont(faceOf(design.face), textsToFit(design), room, design.lines);
    QFont font = fittedFont(faceOf(design.face), textsToFit(design) << text, room, design.lines);
    const bool smaller = font.pointSizeF() < usual.pointSizeF();
    // Fitted to the box by its advance, a smaller text's ink may still reach
    // past it on one side (the hook of a "J") and, centred, touch the border.
    while (smaller && inkWider(font, text, room.width()) && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    // It stands in the middle of the line the usual one fills, clear of the
    // border above it.
    const Qt::Alignment horizontal = label->alignment() & Qt::AlignHorizontal_Mask;
    label->setAlignment(horizontal | (smaller ? Qt::AlignVCenter : Qt::AlignTop));
    label->setFont(font);
    label->setText(text);
}

QLineEdit* makeBox(QWidget* parent, const BoxDesign& design) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(design.name));
    box->setGeometry(pixels(design.place));
    box->setMaxLength(design.maxLength);
    box->setAlignment(Qt::AlignCenter);
    box->setToolTip(QString::fromUtf8(design.toolTip));
    // The design text is there before any handler is connected: it raises no change.
    box->setText(QString::fromUtf8(design.text));
    return box;
}

}  // namespace kestrow::ui::layout
