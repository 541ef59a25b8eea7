// SPDX-License-Identifier: MIT
// The About window: its controls, the hover underlines, the three links as
// handed to the desktop, and its life as one modeless window.
#include "ui/about_window.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <memory>
#include <sstream>

#include "app/clock.h"
#include "ui/contrast.h"
#include "ui/main_window.h"
#include "ui/platform/qt_user_locale.h"
#include "ui_test_support.h"

using kestrow::ui::AboutWindow;
using kestrow::ui::test::PxRect;
using Calls = std::vector<std::string>;

class AboutWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void controlPlaces_data();
    void controlPlaces();
    void windowFrame();
    void texts();
    void pictures_data();
    void pictures();
    void textsFit_data();
    void textsFit();
    void darkScheme();
    void handCursor();
    void underlines_data();
    void underlines();
    void links_data();
    void links();
    void okUnloads();
    void keys_data();
    void keys();
    void tabOrderAndFocusMarks();
    void accessible_data();
    void accessible();
    void oneWindowFromTheMenu();

  private:
    void Open();
    // Where the pointer goes for a place name in the tables below.
    QPoint Spot(const QString& place) const;
    QLabel* Label(const char* name) const { return about_->findChild<QLabel*>(name); }

    std::unique_ptr<kestrow::ui::test::WorkingFolder> folder_;
    kestrow::ui::test::RecordingShell shell_;
    std::unique_ptr<AboutWindow> about_;
};

void AboutWindowTest::init() {
    folder_ = std::make_unique<kestrow::ui::test::WorkingFolder>();
    shell_.calls.clear();
    shell_.opens = true;
}

void AboutWindowTest::cleanup() {
    about_.reset();
    folder_.reset();
}

void AboutWindowTest::Open() {
    about_ = std::make_unique<AboutWindow>(shell_);
    about_->setAttribute(Qt::WA_DeleteOnClose, false);  // the test owns it
    about_->show();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
}

QPoint AboutWindowTest::Spot(const QString& place) const {
    const auto inWindow = [this](const char* name, QPoint at) {
        const QWidget* widget = about_->findChild<QWidget*>(QLatin1String(name));
        return widget->mapTo(about_.get(), at);
    };
    const auto centreOf = [this](const char* name) {
        const QWidget* widget = about_->findChild<QWidget*>(QLatin1String(name));
        return widget->mapTo(about_.get(), widget->rect().center());
    };
    if (place == "background") return QPoint(3, 3);
    // Parts of the two link areas that none of their children cover.
    if (place == "Mail free") return inWindow("Mail", QPoint(36, 2));
    if (place == "SiteBrem free") return inWindow("SiteBrem", QPoint(160, 10));
    return centreOf(place.toLatin1().constData());
}

void AboutWindowTest::controlPlaces_data() {
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");

    QTest::newRow("Picture1") << "About" << QRect(480, 120, 1575, 1095);
    QTest::newRow("Label3") << "About" << QRect(2130, 240, 615, 375);
    QTest::newRow("Label4") << "About" << QRect(2160, 720, 495, 375);
    QTest::newRow("SiteBrem") << "About" << QRect(480, 1200, 2535, 855);
    QTest::newRow("Mail") << "About" << QRect(240, 2160, 2895, 615);
    QTest::newRow("PictureDon") << "About" << QRect(120, 3000, 855, 375);
    QTest::newRow("Command1") << "About" << QRect(1200, 3240, 855, 375);
    QTest::newRow("Image2") << "SiteBrem" << QRect(0, 0, 2250, 525);
    QTest::newRow("Label2") << "SiteBrem" << QRect(0, 600, 2295, 255);
    QTest::newRow("Image1") << "Mail" << QRect(0, 120, 480, 480);
    QTest::newRow("Label1") << "Mail" << QRect(600, 240, 2175, 255);
}

void AboutWindowTest::controlPlaces() {
    QFETCH(QString, container);
    QFETCH(QRect, twips);
    Open();
    auto* control = about_->findChild<QWidget*>(QTest::currentDataTag());
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), PxRect(twips.x(), twips.y(), twips.width(), twips.height()));
    QVERIFY(control->isVisible());
}

void AboutWindowTest::windowFrame() {
    Open();
    QCOMPARE(about_->objectName(), QStringLiteral("About"));
    QCOMPARE(about_->windowTitle(), QStringLiteral("About Brem"));
    QCOMPARE(about_->size(), PxRect(0, 0, 3210, 3690).size());
    QCOMPARE(about_->minimumSize(), about_->maximumSize());
    about_->showMaximized();
    QTRY_COMPARE(about_->windowState(), Qt::WindowNoState);
    QCOMPARE(about_->size(), PxRect(0, 0, 3210, 3690).size());
    QVERIFY(!about_->windowIcon().isNull());
    QVERIFY(!about_->isModal());
    // A dialog has no task-bar button of its own.
    QCOMPARE(about_->windowType(), Qt::Dialog);
    QVERIFY(about_->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!about_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!about_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(QTest::qWaitForWindowActive(about_.get()));
    QCOMPARE(QApplication::focusWidget(), about_->findChild<QWidget*>("Command1"));
}

void AboutWindowTest::texts() {
    Open();
    QCOMPARE(Label("Label3")->text(), QStringLiteral("Kestrow "));
    QCOMPARE(Label("Label4")->text(), QStringLiteral("1.0"));
    // 8.25 pt, or a little less where the fallback face would cut the name.
    QVERIFY(Label("Label3")->font().pointSizeF() <= 8.25);
    QVERIFY(Label("Label3")->font().pointSizeF() >= 7);
    QVERIFY(QFontMetrics(Label("Label3")->font()).horizontalAdvance(Label("Label3")->text()) <=
            Label("Label3")->width());
    QCOMPARE(Label("Label4")->font().pointSizeF(), 9.75);
    QVERIFY(Label("Label3")->font().bold());
    QVERIFY(Label("Label4")->font().bold());
    for (const char* link : {"Label1", "Label2"}) {
        // The designed green's hue, darkened as far as 4.5:1 needs (darkScheme).
        QCOMPARE(Label(link)->palette().color(QPalette::WindowText).hslHue(),
                 QColor(0, 128, 0).hslHue());
        QVERIFY(!Label(link)->font().underline());
        QVERIFY(!Label(link)->text().isEmpty());
    }
}

void AboutWindowTest::pictures_data() {
    QTest::addColumn<QSize>("size");  // empty: the whole inside of its frame
    QTest::newRow("Picture1") << QSize();
    QTest::newRow("Image2") << QSize(150, 35);
    QTest::newRow("Image1") << QSize(32, 32);
    QTest::newRow("PictureDon") << QSize(57, 25);
}

// Pictures at their own sizes in the layout, drawn with every pixel of the
// screen, so that they are as sharp on a scaled screen as on a plain one.
void AboutWindowTest::pictures() {
    QFETCH(QSize, size);
    Open();
    QLabel* label = Label(QTest::currentDataTag());
    if (size.isEmpty()) size = label->contentsRect().size();
    const QPixmap picture = label->pixmap();
    const qreal ratio = about_->devicePixelRatioF();
    QCOMPARE(picture.devicePixelRatio(), ratio);
    QCOMPARE(picture.size(), (QSizeF(size) * ratio).toSize());
    QVERIFY(qAbs(picture.deviceIndependentSize().width() - size.width()) < 1);
    QVERIFY(qAbs(picture.deviceIndependentSize().height() - size.height()) < 1);
    // Drawn, not blank: more than a handful of colours.
    const QImage image = picture.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
    }
    QVERIFY2(colours.size() > 3, qPrintable(QString::number(colours.size())));
    // As the screen shows it: no strip of the window's background between
    // the picture and the right or bottom edge of its frame's inside.
    if (label->frameWidth() == 0) return;
    const QImage shown = label->grab().toImage();
    const QColor window = about_->palette().color(QPalette::Window);
    const QRect inside(label->contentsRect().topLeft() * ratio,
                       label->contentsRect().bottomRight() * ratio);
    for (const QPoint& at : {inside.topRight(), inside.bottomRight(), inside.bottomLeft(),
                             QPoint(inside.center().x(), inside.bottom()),
                             QPoint(inside.right(), inside.center().y())}) {
        QVERIFY2(shown.pixelColor(at) != window, qPrintable(QStringLiteral("%1,%2 %3")
                                                                .arg(at.x())
                                                                .arg(at.y())
                                                                .arg(shown.pixelColor(at).name())));
    }
}

void AboutWindowTest::textsFit_data() {
    QTest::addColumn<bool>("underlined");
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) {
        QTest::newRow(name) << false;
    }
    QTest::newRow("Label1 underlined") << true;
    QTest::newRow("Label2 underlined") << true;
}

// With the fonts at hand, at any scale, each text shows whole in its place.
void AboutWindowTest::textsFit() {
    QFETCH(bool, underlined);
    Open();
    const QByteArray name = QByteArray(QTest::currentDataTag()).split(' ').first();
    auto* label = Label(name.constData());
    QVERIFY(label != nullptr);
    QFont font = label->font();
    font.setUnderline(underlined);
    label->setFont(font);
    const QString fault = kestrow::ui::test::TextLeavesItsBox(label);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

// Every text at 4.5:1 on a light scheme and on the dark scheme the user
// switches to while the window is open; the links' green keeps its hue and
// is lightened just enough there, and is as before once switched back.
void AboutWindowTest::darkScheme() {
    Open();
    const QColor green = Label("Label1")->palette().color(QPalette::WindowText);
    const auto readable = [this](bool dark) {
        for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) {
            const QColor shown = Label(name)->palette().color(QPalette::WindowText);
            const QColor background(kestrow::ui::test::BackgroundUnder(Label(name)));
            const double contrast = kestrow::ui::contrastRatio(shown, background);
            QVERIFY2(contrast >= 4.5 && kestrow::ui::isDark(background) == dark, name);
            if (dark && name[5] < '3') QVERIFY(contrast < 4.7 && shown.hslHue() == 120);
        }
    };
    readable(false);
    {
        kestrow::ui::test::DarkScheme dark;
        readable(true);
    }
    QTRY_COMPARE(Label("Label2")->palette().color(QPalette::WindowText), green);
}

void AboutWindowTest::handCursor() {
    Open();
    for (const char* name : {"SiteBrem", "Mail", "PictureDon"}) {
        const QCursor cursor = about_->findChild<QWidget*>(name)->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), QPoint(5, 0));
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
        // The fingertip is drawn where the hot spot is.
        QCOMPARE(qAlpha(cursor.pixmap().toImage().pixel(5, 0)), 255);
    }
}

void AboutWindowTest::underlines_data() {
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<bool>("mailUnderlined");
    QTest::addColumn<bool>("siteUnderlined");

    QTest::newRow("nothing yet") << QStringList{} << false << false;
    QTest::newRow("mail area") << QStringList{"Mail free"} << true << false;
    QTest::newRow("mail icon") << QStringList{"Image1"} << true << false;
    QTest::newRow("site area") << QStringList{"SiteBrem free"} << false << true;
    QTest::newRow("banner counts as the site") << QStringList{"Image2"} << false << true;
    QTest::newRow("the texts themselves do nothing")
        << QStringList{"Label1", "Label2"} << false << false;
    QTest::newRow("site then its text keeps it")
        << QStringList{"Image2", "Label2"} << false << true;
    QTest::newRow("one link to the other keeps both")
        << QStringList{"Mail free", "SiteBrem free"} << true << true;
    QTest::newRow("background clears both")
        << QStringList{"Image1", "Image2", "background"} << false << false;
    QTest::newRow("other controls change nothing")
        << QStringList{"Image1", "Picture1", "Label3", "Label4", "PictureDon", "Command1"} << true
        << false;
}

void AboutWindowTest::underlines() {
    QFETCH(QStringList, moves);
    QFETCH(bool, mailUnderlined);
    QFETCH(bool, siteUnderlined);
    Open();
    for (const QString& place : moves) QTest::mouseMove(about_->windowHandle(), Spot(place));
    QCOMPARE(Label("Label1")->font().underline(), mailUnderlined);
    QCOMPARE(Label("Label2")->font().underline(), siteUnderlined);
    // The underline is the label's own: no other control takes it.
    QVERIFY(!Label("Label3")->font().underline());
    QVERIFY(!about_->font().underline());
}

void AboutWindowTest::links_data() {
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("address");  // offered when nothing can open the link

    const QString mail = "mailto:kestrow@example.org?Subject=Ravelin";
    const QString site = "http://kestrow.example.org/";
    const QString donation = "http://kestrow.example.org/DON.html";
    QTest::newRow("mail area") << "Mail free" << mail << "kestrow@example.org";
    QTest::newRow("mail text") << "Label1" << mail << "kestrow@example.org";
    QTest::newRow("mail icon") << "Image1" << mail << "kestrow@example.org";
    QTest::newRow("site area") << "SiteBrem free" << site << site;
    QTest::newRow("banner") << "Image2" << site << site;
    QTest::newRow("site text") << "Label2" << site << site;
    QTest::newRow("donation") << "PictureDon" << donation << donation;
    QTest::newRow("photograph") << "Picture1"
                                << ""
                                << "";
    QTest::newRow("name") << "Label3"
                          << ""
                          << "";
    QTest::newRow("version") << "Label4"
                             << ""
                             << "";
    QTest::newRow("background") << "background"
                                << ""
                                << "";
}

void AboutWindowTest::links() {
    QFETCH(QString, place);
    QFETCH(QString, target);
    QFETCH(QString, address);
    Open();
    QTest::mouseClick(about_->windowHandle(), Qt::LeftButton, {}, Spot(place));

    const Calls expected = target.isEmpty() ? Calls{} : Calls{target.toStdString()};
    QCOMPARE(shell_.calls, expected);
    QVERIFY(about_->isVisible());
    // Nothing to open it with: said, with the address to select or copy.
    shell_.opens = false;
    QTest::mouseClick(about_->windowHandle(), Qt::LeftButton, {}, Spot(place));
    auto* said = about_->findChild<QWidget*>("UnopenedLink");
    QCOMPARE(said != nullptr, !address.isEmpty());
    if (said == nullptr) return;
    QTRY_VERIFY(said->isVisible());
    QCOMPARE(said->findChild<QLineEdit*>("Address")->text(), address);
    QTest::keyClick(said, Qt::Key_Return);  // the copy button has the focus
    QCOMPARE(QGuiApplication::clipboard()->text(), address);
}

void AboutWindowTest::okUnloads() {
    auto* about = new AboutWindow(shell_);
    QPointer<AboutWindow> watch(about);
    about->show();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QTest::mouseClick(about->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QTRY_VERIFY(watch.isNull());
    QVERIFY(shell_.calls.empty());
}

void AboutWindowTest::keys_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("target");  // empty: nothing opened
    QTest::addColumn<bool>("closed");

    const QString mail = "mailto:kestrow@example.org?Subject=Ravelin";
    const QString site = "http://kestrow.example.org/";
    const QString donation = "http://kestrow.example.org/DON.html";
    // The focus starts on OK; Tab goes on to PictureDon, Mail, SiteBrem.
    QTest::newRow("Escape") << QList<int>{Qt::Key_Escape} << "" << true;
    QTest::newRow("Return on OK") << QList<int>{Qt::Key_Return} << "" << true;
    QTest::newRow("keypad Enter on OK") << QList<int>{Qt::Key_Enter} << "" << true;
    QTest::newRow("donation") << QList<int>{Qt::Key_Tab, Qt::Key_Return} << donation << false;
    QTest::newRow("mail by Space")
        << QList<int>{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space} << mail << false;
    QTest::newRow("site by keypad Enter")
        << QList<int>{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Enter} << site << false;
    QTest::newRow("site backwards") << QList<int>{Qt::Key_Backtab, Qt::Key_Return} << site << false;
    QTest::newRow("round to OK") << QList<int>(4, Qt::Key_Tab) + QList<int>{Qt::Key_Return} << ""
                                 << true;
    QTest::newRow("Escape on a link") << QList<int>{Qt::Key_Tab, Qt::Key_Escape} << "" << true;
}

void AboutWindowTest::keys() {
    QFETCH(QList<int>, keys);
    QFETCH(QString, target);
    QFETCH(bool, closed);
    auto* about = new AboutWindow(shell_);
    QPointer<AboutWindow> watch(about);
    about->show();
    QVERIFY(QTest::qWaitForWindowActive(about));
    for (const int key : keys) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

    const Calls expected = target.isEmpty() ? Calls{} : Calls{target.toStdString()};
    QCOMPARE(shell_.calls, expected);
    if (closed) {
        QTRY_VERIFY(watch.isNull());
    } else {
        QVERIFY(about->isVisible());
        delete about;
    }
}

// Each link shows that it holds the focus.
void AboutWindowTest::tabOrderAndFocusMarks() {
    Open();
    QVERIFY(QTest::qWaitForWindowActive(about_.get()));
    const QStringList order = {"PictureDon", "Mail", "SiteBrem", "Command1", "PictureDon"};
    for (const QString& name : order) {
        QWidget* previous = QApplication::focusWidget();
        QTest::keyClick(previous, Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        QCOMPARE(focused->objectName(), name);
        const QImage marked = focused->grab().toImage();
        QTest::keyClick(focused, Qt::Key_Backtab);
        QVERIFY(marked != focused->grab().toImage());
        QTest::keyClick(previous, Qt::Key_Tab);
    }
    // Hovering underlines as before; the keyboard underlines nothing.
    QVERIFY(!Label("Label1")->font().underline());
    QVERIFY(!Label("Label2")->font().underline());
}

void AboutWindowTest::accessible_data() {
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("target");  // what its press action opens

    const auto link = int(QAccessible::Link);
    const auto picture = int(QAccessible::Graphic);
    QTest::newRow("About") << int(QAccessible::Dialog) << "About Brem"
                           << "";
    QTest::newRow("Mail") << link << "Write to kestrow@example.org"
                          << "mailto:kestrow@example.org?Subject=Ravelin";
    QTest::newRow("SiteBrem") << link << "Open kestrow.example.org"
                              << "http://kestrow.example.org/";
    QTest::newRow("PictureDon") << link << "Donate"
                                << "http://kestrow.example.org/DON.html";
    QTest::newRow("Command1") << int(QAccessible::Button) << "OK"
                              << "";
    QTest::newRow("Picture1") << picture << "Photograph"
                              << "";
    QTest::newRow("Image2") << picture << "Banner"
                            << "";
    QTest::newRow("Image1") << picture << "Mail icon"
                            << "";
}

void AboutWindowTest::accessible() {
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, target);
    Open();
    QObject* control = QTest::currentDataTag() == QByteArray("About")
                           ? static_cast<QObject*>(about_.get())
                           : about_->findChild<QWidget*>(QTest::currentDataTag());
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
    QVERIFY(node != nullptr);
    QCOMPARE(int(node->role()), role);
    QCOMPARE(node->text(QAccessible::Name), name);
    if (target.isEmpty()) return;
    QAccessibleActionInterface* actions = node->actionInterface();
    QVERIFY(actions != nullptr);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(shell_.calls.size(), size_t(1));
    QCOMPARE(QString::fromStdString(shell_.calls[0]), target);
}

void AboutWindowTest::oneWindowFromTheMenu() {
    const kestrow::SystemClock clock;
    const kestrow::ui::QtUserLocale locale;
    std::ostringstream errors;
    kestrow::ui::MainWindow main(shell_, clock, locale, errors);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    auto* entry = main.findChild<QAction*>(QStringLiteral("pointIntero"));
    const auto aboutWindows = [] {
        int count = 0;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QStringLiteral("About")) ++count;
        }
        return count;
    };

    entry->trigger();
    entry->trigger();
    QCOMPARE(aboutWindows(), 1);
    QPointer<AboutWindow> first = main.aboutWindow();
    QVERIFY(first->isVisible());
    QVERIFY(main.isEnabled());  // modeless

    QTest::mouseMove(first->windowHandle(),
                     first->findChild<QWidget*>("Image1")->mapTo(first, QPoint(5, 5)));
    QVERIFY(first->findChild<QLabel*>("Label1")->font().underline());
    QTest::mouseClick(first->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QTRY_VERIFY(first.isNull());
    QVERIFY(main.aboutWindow() == nullptr);

    entry->trigger();
    QVERIFY(main.aboutWindow() != nullptr);
    QCOMPARE(aboutWindows(), 1);
    QVERIFY(!main.aboutWindow()->findChild<QLabel*>("Label1")->font().underline());
    QVERIFY(!main.aboutWindow()->findChild<QLabel*>("Label2")->font().underline());
}

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
