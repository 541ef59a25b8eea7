// SPDX-License-Identifier: MIT
// The main window: the almanac band, the coordinate frame below it and the
// menu bar. What happens on its events is decided by kestrow::Form1; this
// class builds the controls, passes the events on and carries out the
// logic's requests.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <iosfwd>
#include <optional>

#include "about_window.h"
#include "app/clock.h"
#include "app/desktop_shell.h"
#include "app/form1.h"
#include "app/form1_view.h"
#include "app/user_locale.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QTimer;

namespace kestrow::ui {

class Form1Window : public QMainWindow, public Form1View {
    Q_OBJECT

  public:
    // The window loads (reads the settings file, computes the almanac) here,
    // before it is first shown. The references must outlive the window.
    Form1Window(DesktopShell& shell, const Clock& clock, const UserLocale& locale,
                std::ostream& errors,
                std::filesystem::path settingsPath = std::filesystem::path(kSettingsFileName),
                QWidget* parent = nullptr);
    ~Form1Window() override;

    const Form1& Logic() const { return logic_; }
    // The About window while it is loaded, otherwise null.
    AboutWindow* About() const { return about_; }

    void SetLabelText(Form1Label label, const std::string& text) override;
    void SetToolTip(Form1Label label, const std::string& text) override;
    void SetCaption(const std::string& caption) override;
    void SetOuterHeight(int twips) override;
    int Top() const override;
    int Left() const override;
    void Move(int top, int left) override;
    bool IsPositionVisible(int top, int left) const override;
    bool KnowsPosition() const override;
    std::string BoxText(Form1Box box) const override;
    void SetBoxText(Form1Box box, const std::string& text) override;
    void SetSelStart(Form1Box box, int position) override;
    void SetFrameFocusable(bool focusable) override;
    void FocusBox(Form1Box box) override;
    void ShowAbout() override;
    void UnloadAbout() override;
    void ShowMessage(const std::string& text) override;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void BuildMenu();
    void BuildBand(QWidget* client);
    void BuildFrame(QWidget* client);
    void ConnectLogic();
    void FitToFrame();
    void ApplyOuterHeight();
    void KeepAskedPlace();
    void KeepOnScreen();
    QLabel* LabelFor(Form1Label label) const;
    QLineEdit* BoxFor(Form1Box box) const;

    DesktopShell& shell_;
    Form1 logic_;

    QAction* setup_ = nullptr;
    QAction* pointIntero_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* labelLever_ = nullptr;
    QLabel* labelCoucher_ = nullptr;
    QLabel* labelDuree_ = nullptr;
    QLabel* label4_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QLineEdit* textLatitude_ = nullptr;
    QPushButton* commandSauve_ = nullptr;
    QLineEdit* textLongitude_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* label6_ = nullptr;
    QTimer* timer1_ = nullptr;

    QPointer<AboutWindow> about_;
    QPointer<QMessageBox> message_;
    int outerHeightTwips_ = 0;          // as last asked for; applied again once the frame is known
    std::optional<QPoint> askedPlace_;  // outer top-left, until the frame is known
};

}  // namespace kestrow::ui
