// SPDX-License-Identifier: MIT
#include "focus_mark.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QPushButton>

namespace kestrow::ui {
namespace {

class FocusMark final : public QObject {
  public:
    explicit FocusMark(QPushButton* button) : QObject(button) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* button = static_cast<QPushButton*>(watched);
        if (event->type() != QEvent::Paint || !button->hasFocus()) return false;
        // The button paints itself first; the mark goes over its face.
        button->removeEventFilter(this);
        QCoreApplication::sendEvent(button, event);
        button->installEventFilter(this);
        QPainter painter(button);
        QPen pen(button->palette().color(QPalette::ButtonText), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(button->rect().adjusted(4, 4, -5, -5));
        return true;
    }
};

}  // namespace

void showFocusMark(QPushButton* button) { button->installEventFilter(new FocusMark(button)); }

}  // namespace kestrow::ui
