// SPDX-License-Identifier: MIT
#include "fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QRectF>
#include <algorithm>
#include <cmath>

namespace kestrow::ui {
namespace {

// Faces of about the width the layout was drawn for, as free desktops ship
// them: the metric twin of the design's small face first, then the narrow
// faces of the common font sets, then the broad ones. Only a face the
// machine has is named, so the font machinery never hunts for a missing one.
QString sansFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* wanted : {"Liberation Sans", "Arimo", "DejaVu Sans Condensed",
                                   "Nimbus Sans", "Noto Sans", "DejaVu Sans", "FreeSans"}) {
            const QString name = QLatin1String(wanted);
            if (installed.contains(name, Qt::CaseInsensitive)) return name;
        }
        return QString();  // none of them: the system's own sans-serif face
    }();
    return family;
}

QFont sans(double points) {
    QFont font;
    const QString family = sansFamily();
    if (!family.isEmpty()) font.setFamilies({family});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

constexpr double kSmallestPoints = 6;
constexpr double kStep = 0.25;

// How far `font` overflows `room` with `text`: above 1 when it does not fit.
// Top-aligned, the first line's ascent is the top of the text; below the last
// line only the ink counts, so a face's generous descent is no overflow where
// the text has no descender.
double overflowOf(const QFont& font, const QString& text, const QSize& room, int lines) {
    const QFontMetricsF metrics(font);
    const QRectF laid = metrics.boundingRect(QRectF(0, 0, room.width(), 1e6),
                                             Qt::TextWordWrap | Qt::AlignHCenter, text);
    const int count =
        std::max(1, static_cast<int>(std::lround(laid.height() / metrics.lineSpacing())));
    const double ink = std::max(0.0, metrics.tightBoundingRect(text).bottom());
    // A text wrapped into more lines than it may take is judged by the lines
    // it may take and its width: by all its lines, the first guess at a size
    // would shrink it far below the size that fits.
    const double height =
        (std::min(count, lines) - 1) * metrics.lineSpacing() + metrics.ascent() + ink;
    // A line that does not wrap keeps its trailing blanks, and a text that
    // should not wrap but does is as wide as all of it. Otherwise the laid
    // out width is never the smaller, and shaping the text once more for its
    // advance, for every label at every start, would change nothing.
    double width = laid.width();
    if (lines == 1 && (count > 1 || (!text.isEmpty() && text.back().isSpace()))) {
        width = std::max(width, metrics.horizontalAdvance(text));
    }
    double overflow = std::max(width / room.width(), height / room.height());
    if (count > lines) overflow = std::max(overflow, 1.0 + 1e-6);
    return overflow;
}

QFont fitWithin(QFont font, const QStringList& texts, const QSize& room, int lines) {
    const auto worst = [&] {
        double overflow = 0;
        for (const QString& text : texts) {
            overflow = std::max(overflow, overflowOf(font, text, room, lines));
        }
        return overflow;
    };
    double overflow = worst();
    if (overflow <= 1) return font;
    // Text scales with its size: one jump close to the fitting size, then
    // quarter points down, so that only a few sizes are ever opened.
    const double start = font.pointSizeF();
    double points = std::floor(start / overflow / kStep) * kStep;
    while (true) {
        points = std::max(points, kSmallestPoints);
        font.setPointSizeF(points);
        if (points <= kSmallestPoints || worst() <= 1) return font;
        points -= kStep;
    }
}

}  // namespace

QFont defaultFont() { return sans(7.5); }

QFont boldFont(double points) {
    QFont font = sans(points);
    font.setBold(true);
    return font;
}

QFont smallItalicFont() {
    QFont font = sans(8.25);
    font.setItalic(true);
    font.setWeight(QFont::Normal);
    return font;
}

QFont fittedFont(QFont font, const QStringList& texts, const QSize& room, int lines) {
    if (room.isEmpty()) return font;
    // Labels built alike (sunrise and sunset, say) ask the same question:
    // shaping their texts once serves them all.
    static QHash<QString, QFont> fitted;
    // Points become pixels at the screen's logical resolution, which may change.
    const QString key = font.key() + QLatin1Char('|') + texts.join(QChar(0)) +
                        QStringLiteral("|%1x%2|%3|%4")
                            .arg(room.width())
                            .arg(room.height())
                            .arg(lines)
                            .arg(QFontMetricsF(font).height());
    if (const auto known = fitted.constFind(key); known != fitted.constEnd()) return *known;
    font = fitWithin(font, texts, room, lines);
    fitted.insert(key, font);
    return font;
}

}  // namespace kestrow::ui
