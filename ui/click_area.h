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

  signals:
    void pointerMoved();
    void clicked();

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace kestrow::ui
