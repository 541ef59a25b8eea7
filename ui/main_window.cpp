// SPDX-License-Identifier: MIT
#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>

#include "about_window.h"
#include "accessibility.h"
#include "app/box_repair.h"
#include "artwork.h"
#include "box_history.h"
#include "contrast.h"
#include "focus_mark.h"
#include "fonts.h"
#include "main_window_layout.h"
#include "menu_bar.h"
#include "twips.h"
#include "ui/platform/fixed_size.h"
#include "ui/platform/image_plugins.h"

namespace kestrow::ui {
namespace {

QString toQString(const std::string& text) { return QString::fromStdString(text); }

// A tooltip is shown as rich text whenever Qt guesses it might be; a text
// that could be taken so is escaped, so that it reads as it stands.
QString plainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

}  // namespace

MainWindow::MainWindow(DesktopShell& shell, const Clock& clock, const UserLocale& locale,
                       std::ostream& errors, std::filesystem::path settingsPath, bool localTime,
                       AlmanacMethod method, std::function<std::optional<ZonePlace>()> firstPlace,
                       QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      shell_(shell),
      logic_(*this, clock, locale, errors, std::move(settingsPath), localTime, method) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kestrow"));
    {
        // Both read PNGs as they are made: the window's icon and the menu
        // bar's, for its extension button.
        const WithoutImagePlugins pngOnly;
        setWindowIcon(sunIcon());
        setMenuBar(new MenuBar(this));
    }
    setFont(defaultFont());
    buildMenu();
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    buildBand(client);
    buildFrame(client);

    const QRect designed = twipsRect(0, 0, layout::kClientWidth, layout::kClientHeight);
    setFixedSize(designed.width(), menuBar()->sizeHint().height() + designed.height());
    keepFixedSize(this);

    minuteTimer_ = new QTimer(this);
    minuteTimer_->setObjectName(QStringLiteral("Timer1"));
    minuteTimer_->setInterval(MainWindowLogic::kTimerIntervalMs);
    minuteTimer_->setTimerType(Qt::VeryCoarseTimer);

    connectLogic();
    if (firstPlace) logic_.OfferFirstPlace(std::move(firstPlace));
    logic_.OnLoad();
    minuteTimer_->start();
}

MainWindow::~MainWindow() {
    // Gone before the logic is: nothing they do on the way out may reach it.
    delete about_.data();
    // Parentless, so not deleted with the window otherwise.
    delete message_.data();
}

void MainWindow::buildMenu() {
    // Top-level entries with no menus under them: choosing one runs it at once.
    // Alt+S through the underlined S; F1 has no letter to underline, so the
    // entry tells it in its hover text (screen readers get both keys from
    // the entries themselves).
    setupAction_ = new QAction(QStringLiteral("&Setup"), this);
    setupAction_->setObjectName(QStringLiteral("Setup"));
    aboutAction_ = new QAction(QStringLiteral("?"), this);
    aboutAction_->setObjectName(QStringLiteral("pointIntero"));
    aboutAction_->setShortcut(QKeySequence(Qt::Key_F1));
    aboutAction_->setToolTip(QStringLiteral("About Kestrow (F1)"));
    menuBar()->addAction(setupAction_);
    menuBar()->addAction(aboutAction_);
    menuBar()->installEventFilter(this);  // for the entries' hover texts
}

void MainWindow::buildBand(QWidget* client) {
    sunriseCaption_ = layout::makeLabel(client, layout::kSunriseCaption);
    sunsetCaption_ = layout::makeLabel(client, layout::kSunsetCaption);
    dayLengthCaption_ = layout::makeLabel(client, layout::kDayLengthCaption);
    sunrise_ = layout::makeLabel(client, layout::kSunrise);
    sunset_ = layout::makeLabel(client, layout::kSunset);
    dayLength_ = layout::makeLabel(client, layout::kDayLength);
    // Drawn over Label_duree's lower edge on the window's own background, so
    // that the border under it does not run through its text.
    change_ = layout::makeLabel(client, layout::kChange);
    change_->setAutoFillBackground(true);
    change_->raise();
    change_->setToolTip(QString::fromUtf8(layout::kChangeToolTip));
}

void MainWindow::buildFrame(QWidget* client) {
    placeFrame_ = new QGroupBox(QString::fromUtf8(layout::kFrameTitle), client);
    placeFrame_->setObjectName(QStringLiteral("Frame1"));
    placeFrame_->setGeometry(layout::pixels(layout::kFramePlace));
    offerOnlyInView(placeFrame_);  // before a screen reader can ask for what is in it

    latitudeBox_ = layout::makeBox(placeFrame_, layout::kLatitudeBox);
    saveButton_ = new QPushButton(QStringLiteral("OK"), placeFrame_);
    saveButton_->setObjectName(QStringLiteral("CommandSauve"));
    saveButton_->setGeometry(layout::pixels(layout::kSaveButtonPlace));
    saveButton_->setDefault(true);
    showFocusMark(saveButton_);
    longitudeBox_ = layout::makeBox(placeFrame_, layout::kLongitudeBox);

    QLabel* latitudeCaption = layout::makeLabel(placeFrame_, layout::kLatitudeCaption);
    QLabel* longitudeCaption = layout::makeLabel(placeFrame_, layout::kLongitudeCaption);
    southHint_ = layout::makeLabel(placeFrame_, layout::kSouthHint);
    westHint_ = layout::makeLabel(placeFrame_, layout::kWestHint);

    // A screen reader names each box after its caption and reads the sign
    // rule under it, rather than the frame's title for both.
    latitudeCaption->setBuddy(latitudeBox_);
    longitudeCaption->setBuddy(longitudeBox_);
    latitudeBox_->setAccessibleName(latitudeCaption->text());
    longitudeBox_->setAccessibleName(longitudeCaption->text());
    latitudeBox_->setAccessibleDescription(southHint_->text());
    longitudeBox_->setAccessibleDescription(westHint_->text());

    // Only the two boxes and the button take the keyboard focus, in this order.
    setTabOrder(latitudeBox_, saveButton_);
    setTabOrder(saveButton_, longitudeBox_);
}

void MainWindow::connectLogic() {
    connect(setupAction_, &QAction::triggered, this, [this] {
        if (!logic_.SetupShown()) focusBeforeSetup_ = QApplication::focusWidget();
        logic_.OnSetup();
    });
    connect(aboutAction_, &QAction::triggered, this, [this] { logic_.OnAbout(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { logic_.OnSave(); });
    connect(minuteTimer_, &QTimer::timeout, this, [this] { logic_.OnMinuteTick(); });
    // textChanged comes for typing and for setText alike, and only when the
    // text really changes: the handlers rely on both. A step back or forth
    // through the box's undo history (redo is then possible) is no edit: a
    // repair there would cut off the steps still to redo.
    connect(latitudeBox_, &QLineEdit::textChanged, this, [this] {
        if (!latitudeBox_->isRedoAvailable()) logic_.OnLatitudeEdited();
    });
    connect(longitudeBox_, &QLineEdit::textChanged, this, [this] {
        if (!longitudeBox_->isRedoAvailable()) logic_.OnLongitudeEdited();
    });
    for (QLineEdit* box : {latitudeBox_, longitudeBox_}) {
        skipReplacedPoints(box, [this](const QString& text) {
            return NextBoxRepair(text.toStdString(), logic_.DecimalSeparator(), logic_.ZeroDigit())
                .has_value();
        });
    }
    // Enter in a box is a click on the default button, as in a dialog.
    for (QLineEdit* box : {latitudeBox_, longitudeBox_}) {
        connect(box, &QLineEdit::returnPressed, saveButton_, &QPushButton::click);
    }
}

QLineEdit* MainWindow::boxFor(CoordinateBox box) const {
    return box == CoordinateBox::Latitude ? latitudeBox_ : longitudeBox_;
}

void MainWindow::ShowAlmanac(const AlmanacTexts& texts) {
    // Each name change is an event a screen reader may speak: none when the
    // minute's tick leaves the text as it was.
    const auto update = [](QWidget* widget, const QString& name, const QString& description) {
        if (widget->accessibleName() != name) widget->setAccessibleName(name);
        if (widget->accessibleDescription() != description)
            widget->setAccessibleDescription(description);
    };
    // A bare "8 h 31" says nothing to a screen reader: name the value as
    // well, with a mark such as "+1" in words. Setting the name tells the
    // reader it changed.
    struct Value {
        QLabel* label;
        const layout::LabelDesign& design;
        const std::string& text;
        const std::string& spoken;
        const char* what;
    };
    for (const Value& value :
         {Value{sunrise_, layout::kSunrise, texts.sunrise, texts.spokenSunrise, "Sunrise "},
          Value{sunset_, layout::kSunset, texts.sunset, texts.spokenSunset, "Sunset "},
          Value{dayLength_, layout::kDayLength, texts.length, texts.length, "Length of day "},
          Value{change_, layout::kChange, texts.change, texts.change, "Change since yesterday "}}) {
        layout::setFittedText(value.label, value.design, toQString(value.text));
        update(value.label, QLatin1String(value.what) + toQString(value.spoken),
               value.label->accessibleDescription());
    }
    // The sunrise is where the focus lands after a save: it tells the rest
    // of the day as well.
    const QStringList rest{sunset_->accessibleName(), dayLength_->accessibleName(),
                           change_->accessibleName()};
    update(sunrise_, sunrise_->accessibleName(), rest.join(QLatin1String(", ")));
}

void MainWindow::SetToolTip(AlmanacRow row, const std::string& text) {
    const QString tip = plainToolTip(toQString(text));
    QLabel* const pairs[][2] = {
        {sunrise_, sunriseCaption_}, {sunset_, sunsetCaption_}, {dayLength_, dayLengthCaption_}};
    for (QLabel* label : pairs[static_cast<int>(row)]) label->setToolTip(tip);
}

void MainWindow::SetCaption(const std::string& caption) { setWindowTitle(toQString(caption)); }

std::string MainWindow::BoxText(CoordinateBox box) const {
    return boxFor(box)->text().toStdString();
}

void MainWindow::SetBoxText(CoordinateBox box, const std::string& text) {
    // setText cuts to the maximum length and signals textChanged, nested,
    // only when the text differs: what the logic's handlers expect of a box.
    boxFor(box)->setText(toQString(text));
}

int MainWindow::CaretPosition(CoordinateBox box) const { return boxFor(box)->cursorPosition(); }

void MainWindow::SetCaretPosition(CoordinateBox box, int position) {
    // Moving the caret closes the undo step: only when it must move.
    QLineEdit* edit = boxFor(box);
    if (edit->cursorPosition() != position) edit->setCursorPosition(position);
}

void MainWindow::ReplaceInBox(CoordinateBox box, int position, int count, const std::string& text) {
    // Selected and typed over, as a user would: setText would wipe the undo history.
    QLineEdit* edit = boxFor(box);
    edit->setSelection(position, count);
    edit->insert(toQString(text));
}

void MainWindow::SetFrameFocusable(bool focusable) {
    // Neither hidden nor disabled, so that nothing moves: only out of the
    // keyboard's reach, and out of a screen reader's while clipped away.
    for (QWidget* control :
         {static_cast<QWidget*>(latitudeBox_), static_cast<QWidget*>(saveButton_),
          static_cast<QWidget*>(longitudeBox_)}) {
        control->setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
        if (!focusable) control->clearFocus();
    }
    announceInView(placeFrame_, focusable);
}

void MainWindow::FocusBox(CoordinateBox box) {
    QLineEdit* edit = boxFor(box);
    if (edit->focusPolicy() == Qt::NoFocus) return;
    edit->setFocus(Qt::ShortcutFocusReason);
    edit->selectAll();
}

void MainWindow::FocusAlmanac() {
    // The sunrise takes the focus only from here, never from Tab: its name
    // and description tell the day, so a screen reader says the new times.
    sunrise_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ShowAbout() {
    if (about_.isNull()) about_ = new AboutWindow(shell_, this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainWindow::UnloadAbout() { delete about_.data(); }

void MainWindow::ShowMessage(const std::string& text) {
    if (!message_.isNull()) {
        message_->setText(toQString(text));
        message_->raise();
        return;
    }
    // Without a parent, so that a message raised while this window closes is
    // still seen, and the program ends only once it is dismissed.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Kestrow – Erreur / Error"),
                                toQString(text), QMessageBox::Ok);
    box->setObjectName(QStringLiteral("Message"));
    // The message may quote the settings file: never markup.
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setWindowIcon(sunIcon());
    message_ = box;
    if (isVisible()) {
        box->adjustSize();
        box->move(frameGeometry().center() - box->rect().center());
    }
    box->show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    minuteTimer_->stop();
    // A message left from before belongs to the window that is going away;
    // only one raised by the closing itself should outlive it.
    delete message_.data();
    logic_.OnClose();
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Escape leaves Setup as if it had not been chosen: the texts as they
    // were, the window compact, the focus where it was.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        logic_.SetupShown()) {
        logic_.OnEscape();
        // Outside the frame, which took no focus before Setup.
        if (!focusBeforeSetup_.isNull()) focusBeforeSetup_->setFocus(Qt::OtherFocusReason);
        focusBeforeSetup_.clear();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
    // A new colour scheme, light or dark: the colours of the texts follow it.
    if (event->type() == QEvent::PaletteChange) applyDesignedTextColours(this);
    QMainWindow::changeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A menu bar shows no hover text for its entries by itself; "?" has one
    // that names its key.
    if (watched == menuBar() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QAction* entry = menuBar()->actionAt(help->pos());
        if (entry != nullptr && entry->toolTip() != entry->iconText()) {
            QToolTip::showText(help->globalPos(), entry->toolTip(), menuBar());
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace kestrow::ui
