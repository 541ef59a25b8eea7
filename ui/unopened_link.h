// SPDX-License-Identifier: MIT
// Said when the desktop has nothing to open a link with (no mail program, no
// web browser): why, and the address as text to select or copy, so that the
// user can still write or visit.
//
//   object name   what it is
//   UnopenedLink  the message
//   Address       the address, read-only, selectable
//   Copy          copies the address to the clipboard
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrow::ui {

class UnopenedLink : public QDialog {
    Q_OBJECT

  public:
    // Modeless, and gone with `parent`.
    explicit UnopenedLink(QWidget* parent);
    // Shows `why` and `address`, in place of what was shown before.
    void tell(const QString& why, const QString& address);

  private:
    void copyAddress();

    QLabel* why_ = nullptr;
    QLineEdit* address_ = nullptr;
    QPushButton* copy_ = nullptr;
};

}  // namespace kestrow::ui
