// SPDX-License-Identifier: MIT
// A label or an empty area that reports the pointer moving over it and a
// click on it. It keeps both to itself: a move over it never reaches the
// widget beneath, which has hover rules of its own.
#pragma once

#include <QLabel>

namespace kestrow::ui {

class ClickArea : public QLabel {
    Q_OBJECT

  public:
    explicit ClickArea(QWidget* parent = nullptr);

    // Makes the area a link of its own for the keyboard and screen readers:
    // Tab reaches it, it shows a focus mark, Enter or Space clicks it, and
    // it is named `name` (what it does and where).
    void makeLink(const QString& name);
    bool isLink() const { return link_; }
    // Does what a click does.
    void activate() { emit clicked(); }

  signals:
    void pointerMoved();
    void clicked();

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool link_ = false;
};

}  // namespace kestrow::ui
