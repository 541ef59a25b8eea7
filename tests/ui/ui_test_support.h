// SPDX-License-Identifier: MIT
// Shared by the window tests: a desktop shell that records, twips as the
// screen should show them, and a working folder of the test's own.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QRegion>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <string>
#include <utility>
#include <vector>

#include "app/desktop_shell.h"

namespace kestrow::ui::test {

class RecordingShell final : public DesktopShell {
  public:
    bool Open(std::string_view target) override {
        calls.emplace_back(target);
        return opens;
    }
    std::vector<std::string> calls;
    bool opens = true;  // false: as a desktop without a browser or mail program
};

// 1440 twips to the inch, at the screen's logical DPI.
inline int Px(int twips) {
    return qRound(twips * QGuiApplication::primaryScreen()->logicalDotsPerInchY() / 1440.0);
}

inline QRect PxRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

// Makes a fresh temporary folder the working folder, where the program
// keeps its settings file.
class WorkingFolder {
  public:
    WorkingFolder() : previous_(QDir::currentPath()) {
        QVERIFY(folder_.isValid());
        QVERIFY(QDir::setCurrent(folder_.path()));
    }
    ~WorkingFolder() { QDir::setCurrent(previous_); }
    QString File(const QString& name) const { return folder_.filePath(name); }

  private:
    QString previous_;
    QTemporaryDir folder_;
};

// The colour most pixels of `image` have.
inline QRgb BackgroundOf(const QImage& image) {
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    }
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(background)) background = it.key();
    }
    return background;
}

// What `widget` is drawn on, as its parent paints it (a frame's shading too).
inline QColor BackgroundUnder(QWidget* widget) {
    return BackgroundOf(widget->parentWidget()->grab(widget->geometry()).toImage());
}

// A dark colour scheme as desktops ship them, for the length of a test.
class DarkScheme {
  public:
    DarkScheme() : previous_(QApplication::palette()) {
        QPalette dark = previous_;
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            dark.setColor(group, QPalette::Window, QColor(34, 32, 32));
            dark.setColor(group, QPalette::WindowText, QColor(238, 238, 236));
            dark.setColor(group, QPalette::Button, QColor(53, 50, 50));
            dark.setColor(group, QPalette::ButtonText, QColor(238, 238, 236));
        }
        dark.setColor(QPalette::Disabled, QPalette::Window, QColor(34, 32, 32));
        dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(80, 78, 78));
        Switch(dark);
    }
    ~DarkScheme() { Switch(previous_); }

  private:
    // Top-level windows hear of a new scheme through their platform window;
    // the texts' colours settle once the frames under them have it too.
    static void Switch(const QPalette& palette) {
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QPalette previous_;
};

// Grabs `label` as the screen shows it (in device pixels) and looks for ink,
// the pixels that stand out from its background. Its border is the run of
// all-ink rows and columns at each edge. Returns what is wrong, or nothing:
// no ink at all, or ink on the outermost free row or column, where a text
// cut by the label's edge or resting on its border shows. A text may start
// at the top edge of a label with no border, and a left-aligned one at the
// left edge. Where KESTROW_EXPECTED_FACE names a face, the text must be in it.
inline QString TextLeavesItsBox(QLabel* label) {
    const QImage image = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const QRgb background = BackgroundOf(image);
    const auto ink = [&](int x, int y) {
        const QRgb p = image.pixel(x, y);
        return std::max({std::abs(qRed(p) - qRed(background)),
                         std::abs(qGreen(p) - qGreen(background)),
                         std::abs(qBlue(p) - qBlue(background))}) > 40;
    };
    const auto fullRow = [&](int y) {
        int n = 0;
        for (int x = 0; x < w; ++x) n += ink(x, y);
        return n >= w * 9 / 10;
    };
    const auto fullColumn = [&](int x) {
        int n = 0;
        for (int y = 0; y < h; ++y) n += ink(x, y);
        return n >= h * 9 / 10;
    };
    // The free area inside the border, if any.
    int top = 0, bottom = h - 1, left = 0, right = w - 1;
    if (label->frameWidth() > 0) {
        while (top < h && fullRow(top)) ++top;
        while (bottom > top && fullRow(bottom)) --bottom;
        while (left < w && fullColumn(left)) ++left;
        while (right > left && fullColumn(right)) --right;
        if (top == 0 || left == 0) return QStringLiteral("no border found");
    }
    QRect text;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (ink(x, y)) text |= QRect(x, y, 1, 1);
        }
    }
    const QString where = QStringLiteral(" (ink %1,%2 %3x%4 in %5,%6..%7,%8, %9 at %10)")
                              .arg(text.x())
                              .arg(text.y())
                              .arg(text.width())
                              .arg(text.height())
                              .arg(left)
                              .arg(top)
                              .arg(right)
                              .arg(bottom)
                              .arg(QFontInfo(label->font()).family())
                              .arg(label->font().pointSizeF());
    if (text.isEmpty()) return QStringLiteral("no text drawn") + where;
    // The face the run was meant for, where it names one.
    const QString expected = qEnvironmentVariable("KESTROW_EXPECTED_FACE");
    if (!QFontInfo(label->font()).family().startsWith(expected)) {
        return QStringLiteral("not the face %1").arg(expected) + where;
    }
    // Drawn from the top, a text can only rest on a border there, not be cut.
    const bool framed = label->frameWidth() > 0;
    const bool leftAligned = label->alignment() & Qt::AlignLeft;
    if ((framed && text.top() <= top) || text.bottom() >= bottom || text.right() >= right ||
        (!leftAligned && text.left() <= left)) {
        return QStringLiteral("text on the edge") + where;
    }
    return QString();
}

// What the window shows over `label`'s content area, less what any control
// stacked above the label covers there: a row of ink from side to side is a
// border or a line running through the text. The pixel next to the label's
// own border is left out, which that border partly covers at a fractional
// scale. Returns where, or nothing.
inline QString LineAcross(QLabel* label) {
    QWidget* parent = label->parentWidget();
    QRegion shown(label->contentsRect().adjusted(1, 1, -1, -1).translated(label->pos()));
    const QObjectList& siblings = parent->children();
    for (qsizetype i = siblings.indexOf(label) + 1; i < siblings.size(); ++i) {
        const auto* above = qobject_cast<QWidget*>(siblings[i]);
        if (above != nullptr && above->isVisibleTo(parent)) shown -= above->geometry();
    }
    for (const QRect& part : shown) {
        const QImage image = parent->grab(part).toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb background = BackgroundOf(image);
        for (int y = 0; y < image.height(); ++y) {
            int ink = 0;
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                ink += std::max({std::abs(qRed(p) - qRed(background)),
                                 std::abs(qGreen(p) - qGreen(background)),
                                 std::abs(qBlue(p) - qBlue(background))}) > 40;
            }
            if (ink >= image.width() * 9 / 10) {
                return QStringLiteral("a line across row %1 of %2 device pixels at %3,%4")
                    .arg(y)
                    .arg(image.height())
                    .arg(part.x())
                    .arg(part.y());
            }
        }
    }
    return QString();
}

}  // namespace kestrow::ui::test
