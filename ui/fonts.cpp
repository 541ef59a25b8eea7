#include "fonts.h"

#include <QFontMetrics>
#include <QStringList>

namespace kestrow::ui {
namespace {

QFont WithFallbacks(const QString& face, double points) {
    QFont font;
    font.setFamilies({face, QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

}  // namespace

QFont DefaultFont() { return WithFallbacks(QStringLiteral("MS Sans Serif"), 7.5); }

QFont BoldFont(double points) {
    QFont font = WithFallbacks(QStringLiteral("MS Sans Serif"), points);
    font.setBold(true);
    return font;
}

QFont SmallItalicFont() {
    QFont font = WithFallbacks(QStringLiteral("Arial"), 8.25);
    font.setItalic(true);
    font.setWeight(QFont::Normal);
    return font;
}

QFont FittedFont(QFont font, const QString& text, int width) {
    while (QFontMetrics(font).horizontalAdvance(text) > width && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    return font;
}

}  // namespace kestrow::ui
