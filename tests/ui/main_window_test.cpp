// SPDX-License-Identifier: MIT
// The main window as built on the screen: every control where the layout
// puts it, the compact and expanded heights, the keyboard order, the boxes'
// behaviour when typed into or written by the program, messages and closing.
#include "ui/main_window.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <sstream>

#include "app/almanac_display.h"
#include "app/clock.h"
#include "tests/day_texts.h"
#include "ui/contrast.h"
#include "ui/platform/qt_user_locale.h"
#include "ui_test_support.h"

using kestrow::CoordinateBox;
using kestrow::ui::MainWindow;
using kestrow::ui::test::Px;
using kestrow::ui::test::PxRect;

Q_DECLARE_METATYPE(Qt::Alignment)

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void controlPlaces_data();
    void controlPlaces();
    void labelLooks_data();
    void labelLooks();
    void textsFit_data();
    void textsFit();
    void hintsFollowThePalette();
    void darkScheme_data();
    void darkScheme();
    void boxes_data();
    void boxes();
    void windowFrame();
    void menuEntriesAreCommands();
    void lineUnderTheMenuBarIsWhole();
    void shortcuts_data();
    void shortcuts();
    void timerTicksEveryMinute();

    void outerHeights_data();
    void outerHeights();
    void setupTwiceKeepsTheHeight();
    void placedOnlyWithTheTitleBarOnScreen_data();
    void placedOnlyWithTheTitleBarOnScreen();
    void compactWindowTakesNoKeys();
    void tabOrderAndStartingFocus();
    void enterIsOk_data();
    void enterIsOk();

    void accessible_data();
    void accessible();

    void typing_data();
    void typing();
    void programWrites_data();
    void programWrites();

    void persianPlaceReadsBack();
    void outsideTextIsShownLiterally_data();
    void outsideTextIsShownLiterally();
    void messagesDoNotStack();
    void messageWhileClosingOutlivesTheWindow();
    void closingUnloadsAboutAndSaves();

  private:
    std::unique_ptr<MainWindow> MakeWindow();
    template <typename T>
    T* Find(const char* name) {
        T* widget = window_->findChild<T*>(QLatin1String(name));
        if (widget == nullptr) qWarning("no control named %s", name);
        return widget;
    }

    std::unique_ptr<kestrow::ui::test::WorkingFolder> folder_;
    kestrow::ui::test::RecordingShell shell_;
    kestrow::SystemClock clock_;
    kestrow::ui::QtUserLocale locale_;
    std::ostringstream errors_;
    std::unique_ptr<MainWindow> window_;
};

void MainWindowTest::init() {
    folder_ = std::make_unique<kestrow::ui::test::WorkingFolder>();
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void MainWindowTest::cleanup() {
    window_.reset();
    folder_.reset();
}

std::unique_ptr<MainWindow> MainWindowTest::MakeWindow() {
    return std::make_unique<MainWindow>(shell_, clock_, locale_, errors_);
}

void MainWindowTest::controlPlaces_data() {
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");

    // Left, top, width, height as the layout gives them.
    QTest::newRow("Label1") << "client" << QRect(240, 0, 615, 255);
    QTest::newRow("Label2") << "client" << QRect(940, 0, 855, 255);
    QTest::newRow("Label3") << "client" << QRect(2040, 0, 495, 255);
    QTest::newRow("Label_Lever") << "client" << QRect(120, 340, 855, 285);
    QTest::newRow("Label_coucher") << "client" << QRect(960, 340, 855, 285);
    QTest::newRow("Label_duree") << "client" << QRect(1920, 240, 735, 320);
    QTest::newRow("Label4") << "client" << QRect(1920, 480, 735, 255);
    QTest::newRow("Frame1") << "client" << QRect(120, 1080, 2655, 1455);
    QTest::newRow("TextLatitude") << "Frame1" << QRect(120, 360, 735, 285);
    QTest::newRow("CommandSauve") << "Frame1" << QRect(1920, 360, 615, 375);
    QTest::newRow("TextLongitude") << "Frame1" << QRect(960, 360, 735, 285);
    QTest::newRow("LabelLatitude") << "Frame1" << QRect(120, 720, 735, 255);
    QTest::newRow("Labellongitude") << "Frame1" << QRect(960, 720, 735, 255);
    QTest::newRow("Label5") << "Frame1" << QRect(120, 960, 735, 375);
    QTest::newRow("Label6") << "Frame1" << QRect(960, 960, 735, 375);
}

void MainWindowTest::controlPlaces() {
    QFETCH(QString, container);
    QFETCH(QRect, twips);
    window_ = MakeWindow();

    auto* control = Find<QWidget>(QTest::currentDataTag());
    QVERIFY(control != nullptr);
    const QWidget* expectedParent = container == "client"
                                        ? window_->centralWidget()
                                        : static_cast<QWidget*>(Find<QGroupBox>("Frame1"));
    QCOMPARE(control->parentWidget(), expectedParent);
    QCOMPARE(control->geometry(), PxRect(twips.x(), twips.y(), twips.width(), twips.height()));
    QVERIFY(control->isVisibleTo(window_.get()));
    QVERIFY(control->isEnabled());
}

void MainWindowTest::labelLooks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::Alignment>("horizontal");
    QTest::addColumn<double>("points");  // 0: the window's default size
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("boxed");
    QTest::addColumn<QColor>("colour");  // invalid: the palette's own

    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment centre = Qt::AlignHCenter;
    const QColor own;
    const QColor darkGrey(64, 64, 64);
    const QColor grey(128, 128, 128);
    // The scheme's disabled-text grey; each designed colour held to 4.5:1.
    const QColor disabledText =
        QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    QTest::newRow("Label1") << "Lever" << left << 9.75 << true << false << false << own;
    QTest::newRow("Label2") << "Coucher" << left << 9.75 << true << false << false << own;
    QTest::newRow("Label3") << "Durée" << centre << 0.0 << false << false << false << darkGrey;
    QTest::newRow("Label_Lever") << "" << centre << 9.75 << true << false << true << own;
    QTest::newRow("Label_coucher") << "" << centre << 9.75 << true << false << true << own;
    QTest::newRow("Label_duree") << "" << centre << 0.0 << false << false << true << darkGrey;
    QTest::newRow("Label4") << "" << centre << 8.25 << false << true << true << grey;
    QTest::newRow("LabelLatitude") << "Latitude" << centre << 0.0 << false << false << false << own;
    QTest::newRow("Labellongitude")
        << "Longitude" << centre << 0.0 << false << false << false << own;
    QTest::newRow("Label5") << "Sud = negative" << centre << 0.0 << false << false << false
                            << disabledText;
    QTest::newRow("Label6") << "Ouest = negative" << centre << 0.0 << false << false << false
                            << disabledText;
}

void MainWindowTest::labelLooks() {
    QFETCH(QString, text);
    QFETCH(Qt::Alignment, horizontal);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, boxed);
    QFETCH(QColor, colour);
    window_ = MakeWindow();

    auto* label = Find<QLabel>(QTest::currentDataTag());
    QVERIFY(label != nullptr);
    // The four values are rewritten at load; the rest keep their design text.
    if (!text.isEmpty()) QCOMPARE(label->text(), text);
    QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, horizontal);
    const double expectedPoints = points > 0 ? points : window_->font().pointSizeF();
    // The designed size, or a little less where the face at hand would not fit.
    QVERIFY2(label->font().pointSizeF() <= expectedPoints, qPrintable(label->font().toString()));
    QVERIFY2(label->font().pointSizeF() >= expectedPoints * 0.75,
             qPrintable(label->font().toString()));
    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(label->font().italic(), italic);
    QCOMPARE(label->frameShape() == QFrame::Box, boxed);
    if (boxed) QCOMPARE(label->lineWidth(), 1);
    if (colour.isValid()) {
        QCOMPARE(label->palette().color(QPalette::Active, QPalette::WindowText),
                 kestrow::ui::withContrast(colour, kestrow::ui::test::BackgroundUnder(label), 4.5));
    } else {
        QCOMPARE(label->palette().color(QPalette::Active, QPalette::WindowText),
                 window_->palette().color(QPalette::Active, QPalette::WindowText));
    }
    QVERIFY(label->wordWrap());
}

void MainWindowTest::textsFit_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::newRow("Label1") << "Lever" << 1;
    QTest::newRow("Label2") << "Coucher" << 1;
    QTest::newRow("Label3") << "Durée" << 1;
    QTest::newRow("Label_Lever") << "23 h 59" << 1;
    QTest::newRow("Label_coucher") << "18 h 08" << 1;
    QTest::newRow("Label_duree") << "23 h 59" << 1;
    QTest::newRow("Label4") << "+ 59 s" << 1;
    // The precise method's longer texts.
    QTest::newRow("Label_Lever/polar") << "Jour polaire" << 1;
    QTest::newRow("Label_coucher/polar") << "Nuit polaire" << 1;
    QTest::newRow("Label_coucher/next day") << "23 h 59 +2" << 1;
    QTest::newRow("LabelLatitude") << "Latitude" << 1;
    QTest::newRow("Labellongitude") << "Longitude" << 1;
    QTest::newRow("Label5") << "Sud = negative" << 2;
    QTest::newRow("Label6") << "Ouest = negative" << 2;
}

// With the fonts at hand, at any scale, the widest texts of each label show
// whole, clear of its border and edges, with no line of another control
// running through them, and readable.
void MainWindowTest::textsFit() {
    QFETCH(QString, text);
    QFETCH(int, lines);
    window_ = MakeWindow();
    const QString name = QString::fromLatin1(QTest::currentDataTag()).section('/', 0, 0);
    auto* label = Find<QLabel>(qPrintable(name));
    QVERIFY(label != nullptr);
    // The four values as the logic writes them, each in the face its text needs.
    kestrow::AlmanacTexts texts{"0 h 00", "0 h 00", "0 h 00", "+ 0 s", "", ""};
    std::string* const values[] = {&texts.sunrise, &texts.sunset, &texts.length, &texts.change};
    const QStringList names{"Label_Lever", "Label_coucher", "Label_duree", "Label4"};
    if (names.contains(name)) *values[names.indexOf(name)] = text.toStdString();
    static_cast<kestrow::MainWindowView&>(*window_).ShowAlmanac(texts);
    const QRect room = label->contentsRect();
    const QRect needed =
        label->fontMetrics().boundingRect(room, Qt::TextWordWrap | label->alignment(), text);
    QVERIFY2(needed.width() <= room.width(), qPrintable(label->font().toString()));
    QCOMPARE(
        (needed.height() + label->fontMetrics().leading()) / label->fontMetrics().lineSpacing(),
        lines);

    label->setText(text);
    const QString fault = kestrow::ui::test::TextLeavesItsBox(label);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    const QString line = kestrow::ui::test::LineAcross(label);
    QVERIFY2(line.isEmpty(), qPrintable(line));
    // 4.5:1 against what it is drawn on (a frame's shading too), in both schemes.
    const auto readable = [&](bool dark) {
        const QColor background(kestrow::ui::test::BackgroundUnder(label));
        return kestrow::ui::isDark(background) == dark &&
               kestrow::ui::contrastRatio(label->palette().color(QPalette::WindowText),
                                          background) >= 4.5;
    };
    QVERIFY(readable(false));
    kestrow::ui::test::DarkScheme dark;
    QVERIFY(readable(true));
}

void MainWindowTest::hintsFollowThePalette() {
    window_ = MakeWindow();
    QPalette scheme = window_->palette();
    const QColor grey(101, 67, 33);
    scheme.setColor(QPalette::Disabled, QPalette::WindowText, grey);
    window_->setPalette(scheme);
    for (const char* name : {"Label5", "Label6"}) {
        auto* label = Find<QLabel>(name);
        QVERIFY(label != nullptr);
        QCOMPARE(label->palette().color(QPalette::Active, QPalette::WindowText), grey);
        QVERIFY(label->isEnabled());
    }
}

void MainWindowTest::darkScheme_data() {
    QTest::addColumn<QColor>("designed");  // invalid: the palette's disabled text
    QTest::addColumn<double>("minimum");
    QTest::newRow("Label3") << QColor(64, 64, 64) << 4.5;
    QTest::newRow("Label_duree") << QColor(64, 64, 64) << 4.5;
    QTest::newRow("Label4") << QColor(128, 128, 128) << 4.5;
    QTest::newRow("Label5") << QColor() << 4.5;
    QTest::newRow("Label6") << QColor() << 4.5;
}

// The designed colours on a light scheme; readable ones on the dark scheme the
// user switches to while the window is open, measured on the background the
// label is really drawn on; the designed ones again when the user switches back.
void MainWindowTest::darkScheme() {
    QFETCH(QColor, designed);
    QFETCH(double, minimum);
    window_ = MakeWindow();
    auto* label = Find<QLabel>(QTest::currentDataTag());
    QVERIFY(label != nullptr);
    const auto textColour = [label] { return label->palette().color(QPalette::WindowText); };
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    const QColor light = kestrow::ui::withContrast(
        designed.isValid() ? designed
                           : window_->palette().color(QPalette::Disabled, QPalette::WindowText),
        kestrow::ui::test::BackgroundUnder(label), minimum);
    QCOMPARE(textColour(), light);
    {
        kestrow::ui::test::DarkScheme dark;
        const QColor background(kestrow::ui::test::BackgroundUnder(label));
        QVERIFY2(kestrow::ui::isDark(background), qPrintable(background.name()));
        const double contrast = kestrow::ui::contrastRatio(textColour(), background);
        QVERIFY2(contrast >= minimum, qPrintable(QString::number(contrast)));
        // Changed just enough, where at all.
        const QColor wanted =
            designed.isValid() ? designed
                               : window_->palette().color(QPalette::Disabled, QPalette::WindowText);
        if (kestrow::ui::contrastRatio(wanted, background) < minimum) {
            QVERIFY2(contrast < minimum + 0.2, qPrintable(QString::number(contrast)));
        } else {
            QCOMPARE(textColour(), wanted);
        }
        QVERIFY(kestrow::ui::test::TextLeavesItsBox(label).isEmpty());
    }
    QTRY_COMPARE(textColour(), light);
}

void MainWindowTest::boxes_data() {
    QTest::addColumn<QString>("designText");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("TextLatitude") << "00,00" << 6 << "Lat";
    QTest::newRow("TextLongitude") << "000,00" << 7 << "Long";
}

void MainWindowTest::boxes() {
    QFETCH(QString, designText);
    QFETCH(int, maxLength);
    QFETCH(QString, toolTip);
    window_ = MakeWindow();  // no settings file: the design texts stay

    auto* box = Find<QLineEdit>(QTest::currentDataTag());
    QVERIFY(box != nullptr);
    QCOMPARE(box->text(), designText);
    QCOMPARE(box->maxLength(), maxLength);
    QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(box->toolTip(), toolTip);
}

void MainWindowTest::windowFrame() {
    window_ = MakeWindow();
    QCOMPARE(window_->objectName(), QStringLiteral("Form1"));
    QVERIFY(window_->windowTitle().startsWith(QStringLiteral("Kestrow  ")));
    QVERIFY(!window_->windowIcon().isNull());
    QCOMPARE(window_->windowIcon().pixmap(64, 64).width(), 64);  // not a 16 px one grown
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    // Fixed size: the user cannot resize it, nor maximise it from a title bar
    // that offers the button all the same.
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QCOMPARE(window_->width(), Px(2835));
    window_->show();
    const QSize size = window_->size();
    window_->showMaximized();
    QTRY_COMPARE(window_->windowState(), Qt::WindowNoState);
    QCOMPARE(window_->size(), size);
    QCOMPARE(Find<QLabel>("Label4")->toolTip(), QStringLiteral("Ce jour/ today"));
}

void MainWindowTest::menuEntriesAreCommands() {
    window_ = MakeWindow();
    const QList<QAction*> entries = window_->menuBar()->actions();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0]->objectName(), QStringLiteral("Setup"));
    QCOMPARE(entries[0]->iconText(), QStringLiteral("Setup"));  // shown without the marker
    QCOMPARE(entries[1]->objectName(), QStringLiteral("pointIntero"));
    QCOMPARE(entries[1]->text(), QStringLiteral("?"));
    for (const QAction* entry : entries) QVERIFY(entry->menu() == nullptr);
}

// At a fractional scale too, the line under the menu bar runs the whole width,
// with no gap where one entry ends and the next begins.
void MainWindowTest::lineUnderTheMenuBarIsWhole() {
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    const QImage bar = window_->menuBar()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor background = window_->palette().color(QPalette::Window);
    const auto differs = [&](int x, int y) {
        const QColor p = bar.pixelColor(x, y);
        return std::max({std::abs(p.red() - background.red()),
                         std::abs(p.green() - background.green()),
                         std::abs(p.blue() - background.blue())}) > 10;
    };
    // The line: of the bottom rows, the one with the longest unbroken run of
    // such pixels from the left edge; a line may stop short of the last
    // logical pixel, where the window's border follows.
    int longest = 0;
    for (int y = bar.height() - 3; y < bar.height(); ++y) {
        int run = 0;
        while (run < bar.width() && differs(run, y)) ++run;
        longest = std::max(longest, run);
    }
    QVERIFY2(longest >= bar.width() - qCeil(bar.devicePixelRatio()),
             qPrintable(QStringLiteral("%1 of %2").arg(longest).arg(bar.width())));
}

void MainWindowTest::shortcuts_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<bool>("expanded");
    QTest::addColumn<bool>("aboutShown");
    QTest::newRow("Alt+S chooses Setup") << QKeySequence(Qt::ALT | Qt::Key_S) << true << false;
    QTest::newRow("F1 chooses ?") << QKeySequence(Qt::Key_F1) << false << true;
    QTest::newRow("S alone does nothing") << QKeySequence(Qt::Key_S) << false << false;
    QTest::newRow("Escape alone does nothing") << QKeySequence(Qt::Key_Escape) << false << false;
}

void MainWindowTest::shortcuts() {
    QFETCH(QKeySequence, keys);
    QFETCH(bool, expanded);
    QFETCH(bool, aboutShown);
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    const int compact = window_->height();
    // Where they show: the underlined S, and F1 in the entry's hover text.
    QCOMPARE(QKeySequence::mnemonic(window_->findChild<QAction*>("Setup")->text()),
             QKeySequence(Qt::ALT | Qt::Key_S));
    auto* about = window_->findChild<QAction*>("pointIntero");
    QCOMPARE(about->shortcut(), QKeySequence(Qt::Key_F1));
    QVERIFY(about->toolTip().contains(QStringLiteral("F1")));

    QTest::keySequence(window_.get(), keys);
    QCOMPARE(window_->height() > compact, expanded);
    QCOMPARE(window_->aboutWindow() != nullptr, aboutShown);
}

void MainWindowTest::timerTicksEveryMinute() {
    window_ = MakeWindow();
    auto* timer = window_->findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer != nullptr);
    QCOMPARE(timer->interval(), 60000);
    QVERIFY(timer->isActive());
    QVERIFY(!timer->isSingleShot());

    // A tick recomputes the almanac into the four labels.
    auto* lever = Find<QLabel>("Label_Lever");
    lever->setText(QStringLiteral("stale"));
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    QVERIFY(lever->text() != QStringLiteral("stale"));

    // A tick that changes no text says nothing to a screen reader.
    static int announced;
    announced = 0;
    QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        announced += event->type() == QAccessible::NameChanged ||
                     event->type() == QAccessible::DescriptionChanged;
    });
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    QAccessible::installUpdateHandler(nullptr);
    QCOMPARE(announced, 0);
}

void MainWindowTest::outerHeights_data() {
    QTest::addColumn<int>("outerTwips");
    QTest::addColumn<bool>("frameShown");

    QTest::newRow("compact") << 1450 << false;
    QTest::newRow("expanded") << 3330 << true;
    // Heights meant for other title and menu bars still show one state whole.
    QTest::newRow("less than the band") << 300 << false;
    QTest::newRow("more than the design") << 6000 << true;
}

void MainWindowTest::outerHeights() {
    QFETCH(int, outerTwips);
    QFETCH(bool, frameShown);
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    const int width = window_->width();

    window_->SetOuterHeight(outerTwips);
    const QRect client = window_->centralWidget()->rect();
    const QRect band = Find<QLabel>("Label4")->geometry();  // bottom at 735
    const QRect frame = Find<QGroupBox>("Frame1")->geometry();
    QCOMPARE(window_->centralWidget()->y(), window_->menuBar()->height());
    QVERIFY(client.contains(band));
    if (frameShown) {
        QVERIFY(client.contains(frame));
    } else {
        QVERIFY(!client.intersects(frame));
    }
    QCOMPARE(window_->width(), width);
    QCOMPARE(window_->minimumHeight(), window_->maximumHeight());
}

void MainWindowTest::placedOnlyWithTheTitleBarOnScreen_data() {
    QTest::addColumn<int>("top");  // pixels, as stored in twips
    QTest::addColumn<int>("left");
    QTest::addColumn<bool>("placed");

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QTest::newRow("high on the screen") << 40 << 65 << true;
    QTest::newRow("low: Setup lifts it") << screen.bottom() - 60 << 65 << true;
    QTest::newRow("title bar above the top") << screen.top() - 5 << 65 << false;
    QTest::newRow("title bar under the bottom") << screen.bottom() - 3 << 65 << false;
    QTest::newRow("title bar past the right") << 40 << screen.right() - 100 << false;
    QTest::newRow("title bar past the left") << 40 << screen.left() - 1 << false;
}

void MainWindowTest::placedOnlyWithTheTitleBarOnScreen() {
    QFETCH(int, top);
    QFETCH(int, left);
    QFETCH(bool, placed);
    QFile file(folder_->File(QStringLiteral("Kestrow.dat")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        QStringLiteral("\"48,85\",\"2,35\",%1,%2\r\n").arg(top * 15).arg(left * 15).toLatin1());
    file.close();
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QCOMPARE(window_->frameGeometry().topLeft() == QPoint(left, top), placed);

    window_->findChild<QAction*>(QStringLiteral("Setup"))->trigger();
    const QRect screen = window_->screen()->availableGeometry();
    const QRect outer = window_->frameGeometry();
    QVERIFY2(screen.contains(outer), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                    .arg(outer.x())
                                                    .arg(outer.y())
                                                    .arg(outer.width())
                                                    .arg(outer.height())));
    // Lifted just enough, or not at all.
    if (placed) QCOMPARE(outer.top(), std::min(top, screen.bottom() + 1 - outer.height()));
}

void MainWindowTest::setupTwiceKeepsTheHeight() {
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    const int compact = window_->height();
    auto* setup = window_->findChild<QAction*>(QStringLiteral("Setup"));
    setup->trigger();
    const int expanded = window_->height();
    QVERIFY(expanded > compact);
    setup->trigger();
    QCOMPARE(window_->height(), expanded);
    QVERIFY(window_->centralWidget()->rect().contains(Find<QGroupBox>("Frame1")->geometry()));
}

// The frame is clipped out of the compact window: keys typed into it would
// change the place unseen, and closing would save them. Nothing there takes
// the keyboard, so no caret blinks out of view either, and the user's flash
// time is left alone.
void MainWindowTest::compactWindowTakesNoKeys() {
    const int flashTime = 1000;
    QGuiApplication::styleHints()->setCursorFlashTime(flashTime);
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    auto* latitude = Find<QLineEdit>("TextLatitude");
    auto* longitude = Find<QLineEdit>("TextLongitude");

    QCOMPARE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(window_.get(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), nullptr);
    QTest::keyClicks(window_.get(), QStringLiteral("12"));
    QTest::keyClick(window_.get(), Qt::Key_Backspace);
    QCOMPARE(latitude->text(), QStringLiteral("00,00"));
    QCOMPARE(longitude->text(), QStringLiteral("000,00"));
    // Out of the keyboard's reach, yet neither hidden nor disabled.
    for (QWidget* control : {static_cast<QWidget*>(latitude), Find<QWidget>("CommandSauve"),
                             static_cast<QWidget*>(longitude)}) {
        QVERIFY(control->isVisibleTo(window_.get()));
        QVERIFY(control->isEnabled());
    }
    QCOMPARE(QGuiApplication::styleHints()->cursorFlashTime(), flashTime);
}

void MainWindowTest::tabOrderAndStartingFocus() {
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    auto* latitude = Find<QLineEdit>("TextLatitude");
    auto* button = Find<QPushButton>("CommandSauve");
    auto* longitude = Find<QLineEdit>("TextLongitude");

    // Setup brings the frame into view and the focus into the latitude box.
    window_->findChild<QAction*>(QStringLiteral("Setup"))->trigger();
    QCOMPARE(QApplication::focusWidget(), latitude);
    const QList<QWidget*> forward = {button, longitude, latitude, button};
    for (QWidget* next : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    // OK focused shows a mark, although it is the default button.
    const QImage marked = button->grab().toImage();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), latitude);
    QVERIFY(marked != button->grab().toImage());

    QTest::keyClick(latitude, Qt::Key_End);
    QTest::keyClick(latitude, Qt::Key_Backspace);
    QCOMPARE(latitude->text(), QStringLiteral("00,0"));

    // Compact again after OK: the focus leaves the frame for the sunrise, and stays out.
    button->click();
    auto* sunrise = Find<QWidget>("Label_Lever");
    QCOMPARE(QApplication::focusWidget(), sunrise);
    QTest::keyClick(window_.get(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), sunrise);
    // Setup again: the whole latitude is selected, so that typing replaces it.
    window_->findChild<QAction*>(QStringLiteral("Setup"))->trigger();
    QCOMPARE(latitude->selectedText(), latitude->text());
    // Escape: the boxes as Setup found them, the focus back where it was.
    QTest::keyClicks(latitude, QStringLiteral("12"));
    QTest::keyClick(latitude, Qt::Key_Escape);
    QCOMPARE(latitude->text(), QStringLiteral("00,0"));
    QCOMPARE(QApplication::focusWidget(), sunrise);
}

void MainWindowTest::enterIsOk_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Return in the latitude") << "TextLatitude" << int(Qt::Key_Return) << true;
    QTest::newRow("keypad Enter in the longitude") << "TextLongitude" << int(Qt::Key_Enter) << true;
    QTest::newRow("Return on OK") << "CommandSauve" << int(Qt::Key_Return) << true;
    QTest::newRow("keypad Enter on OK") << "CommandSauve" << int(Qt::Key_Enter) << true;
    QTest::newRow("Space on OK") << "CommandSauve" << int(Qt::Key_Space) << true;
    QTest::newRow("Tab in a box") << "TextLatitude" << int(Qt::Key_Tab) << false;
}

void MainWindowTest::enterIsOk() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, saved);
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QVERIFY(Find<QPushButton>("CommandSauve")->isDefault());
    window_->findChild<QAction*>(QStringLiteral("Setup"))->trigger();
    const int expanded = window_->height();
    Find<QLineEdit>("TextLatitude")->setText(QStringLiteral("48.85"));
    Find<QLineEdit>("TextLongitude")->setText(QStringLiteral("2.35"));
    auto* focused = Find<QWidget>(focus.toLatin1().constData());
    focused->setFocus();

    QTest::keyClick(focused, Qt::Key(key));
    QFile file(folder_->File(QStringLiteral("Kestrow.dat")));
    QCOMPARE(file.exists(), saved);
    if (saved) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\"48,85\",\"2,35\"\r\n"));
    }
    // As after a click on OK: compact again, the focus out of the frame.
    QCOMPARE(window_->height() < expanded, saved);
    QCOMPARE(QApplication::focusWidget() == Find<QWidget>("Label_Lever"), saved);
}

void MainWindowTest::accessible_data() {
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");  // %1: the label's text
    QTest::addColumn<QString>("description");

    const auto text = int(QAccessible::StaticText);
    QTest::newRow("TextLatitude") << int(QAccessible::EditableText) << "Latitude"
                                  << "Sud = negative";
    QTest::newRow("TextLongitude") << int(QAccessible::EditableText) << "Longitude"
                                   << "Ouest = negative";
    QTest::newRow("CommandSauve") << int(QAccessible::Button) << "OK"
                                  << "";
    QTest::newRow("Label_Lever") << text << "Sunrise %1"
                                 << "";
    QTest::newRow("Label_coucher") << text << "Sunset %1"
                                   << "";
    QTest::newRow("Label_duree") << text << "Length of day %1"
                                 << "";
    QTest::newRow("Label4") << text << "Change since yesterday %1"
                            << "";
}

// What a screen reader hears; the value labels' names follow their texts.
void MainWindowTest::accessible() {
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFile file(folder_->File(QStringLiteral("Kestrow.dat")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\"48.85\",\"2.35\"\r\n");
    file.close();
    window_ = MakeWindow();
    auto* control = Find<QWidget>(QTest::currentDataTag());
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
    QVERIFY(node != nullptr);
    QCOMPARE(int(node->role()), role);
    if (!description.isEmpty()) QCOMPARE(node->text(QAccessible::Description), description);
    if (role == int(QAccessible::Button)) QVERIFY(node->state().defaultButton);
    const auto expectedName = [&] {
        auto* label = qobject_cast<QLabel*>(control);
        return label != nullptr ? name.arg(label->text()) : name;
    };
    QCOMPARE(node->text(QAccessible::Name), expectedName());
    // Clipped out of the compact window, the frame's controls are not
    // offered, and take nothing through assistive technology.
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    const bool inFrame = control->parentWidget()->objectName() == "Frame1";
    QCOMPARE(bool(node->state().invisible), inFrame);
    if (node->actionInterface() != nullptr)
        node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    node->setText(QAccessible::Value, QStringLiteral("-12.34"));
    QTest::qWait(300);  // a press clicks after a moment
    QVERIFY(node->text(QAccessible::Value) != "-12,34");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\"48.85\",\"2.35\"\r\n"));
    file.close();
    // Another place, other times: the names follow.
    const QString before = node->text(QAccessible::Name);
    window_->findChild<QAction*>(QStringLiteral("Setup"))->trigger();
    QVERIFY(!node->state().invisible);
    Find<QLineEdit>("TextLatitude")->setText(QStringLiteral("-33.9"));
    Find<QLineEdit>("TextLongitude")->setText(QStringLiteral("151.2"));
    Find<QPushButton>("CommandSauve")->click();
    QCOMPARE(node->text(QAccessible::Name), expectedName());
    if (name.contains("%1") && name != "Change since yesterday %1")
        QVERIFY(before != expectedName());
}

void MainWindowTest::typing_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QLocale>("locale");
    const QLocale fr(QLocale::French, QLocale::France), us(QLocale::English, QLocale::UnitedStates);
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caretAfter");
    QTest::addColumn<QString>("undone");  // after one undo; null: not looked at

    QTest::newRow("point becomes comma") << "TextLatitude" << fr << "" << 0 << "45.5"
                                         << "45,5" << 4 << "";
    QTest::newRow("point stays a point") << "TextLatitude" << us << "" << 0 << "45.5"
                                         << "45.5" << 4 << "";
    QTest::newRow("every point") << "TextLatitude" << fr << "" << 0 << "1.2.3"
                                 << "1,2,3" << 5 << QString();
    QTest::newRow("latitude takes six") << "TextLatitude" << fr << "" << 0 << "-45.123"
                                        << "-45,12" << 6 << QString();
    QTest::newRow("longitude takes seven") << "TextLongitude" << fr << "" << 0 << "-123.456"
                                           << "-123,45" << 7 << QString();
    // Keys in the middle go where the caret is, and stay undoable.
    QTest::newRow("edit in the middle") << "TextLatitude" << fr << "45,5" << 1 << "67"
                                        << "4675,5" << 3 << "45,5";
    QTest::newRow("longitude middle") << "TextLongitude" << us << "2.35" << 0 << "1."
                                      << "1.2.35" << 2 << "2.35";
    QTest::newRow("point in the middle") << "TextLatitude" << fr << "4885" << 2 << "."
                                         << "48,85" << 3 << QString();
    // Digits typed on a Persian or Arabic keyboard, or in the locale's own
    // script, become ASCII, and undo never brings them back.
    QTest::newRow("Persian and Arabic-Indic digits") << "TextLatitude" << fr << "" << 0 << "۳٥.۶٨"
                                                     << "35,68" << 5 << "";
    QTest::newRow("the locale's digits")
        << "TextLatitude" << QLocale(QLocale::Marathi) << "" << 0 << "२८.६"
        << "28.6" << 4 << "";
}

void MainWindowTest::typing() {
    QFETCH(QString, box);
    QFETCH(QLocale, locale);
    QFETCH(QString, before);
    QFETCH(int, caret);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    QFETCH(int, caretAfter);
    QFETCH(QString, undone);
    QLocale::setDefault(locale);
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));

    auto* edit = Find<QLineEdit>(box.toLatin1().constData());
    edit->setFocus();
    edit->setText(before);
    edit->setCursorPosition(caret);
    // As a keyboard of the script sends them: a key with its text.
    for (const QChar key : keys)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(key), Qt::NoModifier);
    QCOMPARE(edit->text(), after);
    QCOMPARE(edit->cursorPosition(), caretAfter);
    QVERIFY(!edit->hasSelectedText());
    if (!undone.isNull()) {
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), undone);
    }
}

void MainWindowTest::programWrites_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("changes");

    // The design text is "00,00" and the locale writes a comma.
    QTest::newRow("identical text raises nothing") << "00,00"
                                                   << "00,00" << 0;
    QTest::newRow("new text raises one change") << "12,5"
                                                << "12,5" << 1;
    // The handler rewrites the point, which changes the text once more.
    QTest::newRow("point repaired inside the write") << "12.5"
                                                     << "12,5" << 2;
    QTest::newRow("cut to six characters") << "1234567"
                                           << "123456" << 1;
}

void MainWindowTest::programWrites() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(int, changes);
    window_ = MakeWindow();
    auto* latitude = Find<QLineEdit>("TextLatitude");
    QSignalSpy spy(latitude, &QLineEdit::textChanged);

    kestrow::MainWindowView& view = *window_;
    view.SetBoxText(CoordinateBox::Latitude, text.toStdString());
    // The handler ran inside the write: nothing is left pending.
    QCOMPARE(spy.count(), changes);
    QCOMPARE(latitude->text(), shown);
    QCOMPARE(view.BoxText(CoordinateBox::Latitude), shown.toStdString());
}

// Qt's Persian decimal mark, U+066B, has no place in the file's code page.
void MainWindowTest::persianPlaceReadsBack() {
    QLocale::setDefault(QLocale(QLocale::Persian, QLocale::Iran));
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    for (const auto& [name, keys] :
         {std::pair{"TextLatitude", "35.7"}, {"TextLongitude", "51.4"}}) {
        auto* box = Find<QLineEdit>(name);
        box->clear();
        box->setFocus();
        QTest::keyClicks(box, QString::fromLatin1(keys));
    }
    QCOMPARE(Find<QLineEdit>("TextLatitude")->text(), QStringLiteral("35\u066B"
                                                                     "7"));
    Find<QPushButton>("CommandSauve")->click();
    QVERIFY(window_->close());
    window_.reset();

    window_ = MakeWindow();
    QCOMPARE(Find<QLineEdit>("TextLongitude")->text(), QStringLiteral("51\u066B"
                                                                      "4"));
    const kestrow::ClockReading now = clock_.Read();
    const kestrow::AlmanacTexts expected = kestrow::testing::DayTexts(
        {35.7, 51.4}, kestrow::ReadToday(now),
        {kestrow::DesignClockFor(kestrow::ComputeUtcOffset(now).roundedHours)});
    QCOMPARE(Find<QLabel>("Label_Lever")->text().toStdString(), expected.sunrise);
    QCOMPARE(Find<QLabel>("Label_duree")->text().toStdString(), expected.length);
    QVERIFY(errors_.str().empty());
}

// Text from the file, the user or the system is shown as it stands, never
// taken for markup: an image in it would be loaded, from any file.
void MainWindowTest::outsideTextIsShownLiterally_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("image") << "Latitude \"<img src=/nonexistent.png>\" is not a number.";
    QTest::newRow("heading") << "<h1>Kestrow</h1>";
    QTest::newRow("entity") << "&lt;b&gt; &amp;";
    QTest::newRow("plain") << "Sunrise 07/12/2026";
}

void MainWindowTest::outsideTextIsShownLiterally() {
    QFETCH(QString, text);
    window_ = MakeWindow();
    kestrow::MainWindowView& view = *window_;
    view.ShowMessage(text.toStdString());
    view.ShowAlmanac({text.toStdString(), "", "", "", text.toStdString(), ""});
    view.SetToolTip(kestrow::AlmanacRow::Sunrise, text.toStdString());

    QMessageBox* message = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(top); box != nullptr) message = box;
    }
    QVERIFY(message != nullptr);
    QCOMPARE(message->textFormat(), Qt::PlainText);
    QCOMPARE(message->text(), text);
    auto* lever = Find<QLabel>("Label_Lever");
    QCOMPARE(lever->textFormat(), Qt::PlainText);
    QCOMPARE(lever->text(), text);
    // A tooltip is rich text whenever Qt guesses so; either way it must read as the text.
    const QString tip = lever->toolTip();
    QTextDocument shown;
    shown.setHtml(tip);
    QCOMPARE(Qt::mightBeRichText(tip) ? shown.toPlainText() : tip, text);
}

void MainWindowTest::messagesDoNotStack() {
    window_ = MakeWindow();
    window_->show();
    window_->ShowMessage("first");
    window_->ShowMessage("second");

    QList<QMessageBox*> shown;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(top); box != nullptr && box->isVisible()) {
            shown.append(box);
        }
    }
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0]->text(), QStringLiteral("second"));
    QCOMPARE(shown[0]->icon(), QMessageBox::Warning);
    QVERIFY(shown[0]->windowTitle().contains(QStringLiteral("Erreur / Error")));
    QVERIFY(!shown[0]->isModal());
    QVERIFY(window_->isEnabled());
}

void MainWindowTest::messageWhileClosingOutlivesTheWindow() {
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    // Not a number: closing cannot save it and says so.
    Find<QLineEdit>("TextLatitude")->setText(QStringLiteral("abc"));

    // Run the program's event loop: it must go on after the window closes,
    // as long as the message is up, and end once the message is dismissed.
    bool closed = false;
    bool seenAfterClosing = false;
    QTimer::singleShot(0, this, [&] { closed = window_->close(); });
    QTimer::singleShot(300, this, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(top);
            if (box == nullptr || !box->isVisible()) continue;
            seenAfterClosing = box->parentWidget() == nullptr;
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        }
    });
    QTimer::singleShot(5000, this, [] { QApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(closed);
    QVERIFY(seenAfterClosing);
    QVERIFY(!QFile::exists(folder_->File(QStringLiteral("Kestrow.dat"))));
}

void MainWindowTest::closingUnloadsAboutAndSaves() {
    window_ = MakeWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->findChild<QAction*>(QStringLiteral("pointIntero"))->trigger();
    QPointer<QWidget> about = window_->aboutWindow();
    QVERIFY(!about.isNull());
    QVERIFY(about->isVisible());
    Find<QLineEdit>("TextLatitude")->setText(QStringLiteral("48.85"));
    Find<QLineEdit>("TextLongitude")->setText(QStringLiteral("2.35"));

    QVERIFY(window_->close());
    QVERIFY(about.isNull());
    QFile file(folder_->File(QStringLiteral("Kestrow.dat")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray record = file.readAll();
    // The typed texts, repaired, then the window's top and left in twips.
    QVERIFY2(record.startsWith("\"48,85\",\"2,35\","), record.constData());
    QVERIFY(record.endsWith("\r\n"));
    const QList<QByteArray> fields = record.trimmed().split(',');
    QCOMPARE(fields.size(), 6);  // two texts with a comma each, then top and left
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
