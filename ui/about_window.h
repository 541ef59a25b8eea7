// SPDX-License-Identifier: MIT
// The About window: the program's name and version and the maker's mail,
// site and donation links. Hovering a link underlines its text until the
// pointer crosses the window's own background again.
#pragma once

#include <QWidget>

#include "app/desktop_shell.h"

class QLabel;
class QPushButton;

namespace kestrow::ui {

class ClickArea;

class AboutWindow : public QWidget {
    Q_OBJECT

  public:
    // `shell` must outlive the window.
    explicit AboutWindow(DesktopShell& shell, QWidget* parent = nullptr);

  protected:
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildPictures();
    void BuildSiteLink();
    void BuildMailLink();
    void BuildButtons();
    void BuildKeyboardLinks();

    void Form_MouseMove();
    void Mail_MouseMove();
    void Image1_MouseMove();
    void SiteBrem_MouseMove();
    void SendMail();
    void OpenSite();
    void PictureDon_Click();

    DesktopShell& shell_;
    ClickArea* siteBrem_ = nullptr;
    QLabel* image2_ = nullptr;
    ClickArea* label2_ = nullptr;
    ClickArea* mail_ = nullptr;
    ClickArea* image1_ = nullptr;
    ClickArea* label1_ = nullptr;
    ClickArea* pictureDon_ = nullptr;
    QPushButton* command1_ = nullptr;
};

}  // namespace kestrow::ui
