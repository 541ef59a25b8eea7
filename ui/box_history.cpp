// SPDX-License-Identifier: MIT
#include "box_history.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <utility>

namespace kestrow::ui {
namespace {

class ReplacedPointSkipper final : public QObject {
  public:
    ReplacedPointSkipper(QLineEdit* box, std::function<bool()> marksReplaced)
        : QObject(box), marksReplaced_(std::move(marksReplaced)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool back = key->matches(QKeySequence::Undo);
        if (!back && !key->matches(QKeySequence::Redo)) return false;
        auto* box = static_cast<QLineEdit*>(watched);
        const bool replaced = marksReplaced_();
        do {
            back ? box->undo() : box->redo();
        } while (replaced && box->text().contains(QLatin1Char('.')) &&
                 (back ? box->isUndoAvailable() : box->isRedoAvailable()));
        return true;
    }

  private:
    std::function<bool()> marksReplaced_;
};

}  // namespace

void skipReplacedPoints(QLineEdit* box, std::function<bool()> marksReplaced) {
    box->installEventFilter(new ReplacedPointSkipper(box, std::move(marksReplaced)));
}

}  // namespace kestrow::ui
