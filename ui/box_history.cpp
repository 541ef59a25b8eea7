// SPDX-License-Identifier: MIT
#include "box_history.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <utility>

namespace kestrow::ui {
namespace {

class ReplacedPointSkipper final : public QObject {
  public:
    ReplacedPointSkipper(QLineEdit* box, std::function<bool(const QString&)> awaitsRepair)
        : QObject(box), awaitsRepair_(std::move(awaitsRepair)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool back = key->matches(QKeySequence::Undo);
        if (!back && !key->matches(QKeySequence::Redo)) return false;
        auto* box = static_cast<QLineEdit*>(watched);
        do {
            back ? box->undo() : box->redo();
        } while (awaitsRepair_(box->text()) &&
                 (back ? box->isUndoAvailable() : box->isRedoAvailable()));
        return true;
    }

  private:
    std::function<bool(const QString&)> awaitsRepair_;
};

}  // namespace

void skipReplacedPoints(QLineEdit* box, std::function<bool(const QString&)> awaitsRepair) {
    box->installEventFilter(new ReplacedPointSkipper(box, std::move(awaitsRepair)));
}

}  // namespace kestrow::ui
