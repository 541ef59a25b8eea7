// SPDX-License-Identifier: MIT
// The colour rule: a designed colour untouched where it reaches the contrast
// asked; otherwise the same hue, darkened on a light background or lightened
// on a dark one just enough to reach it.
#include "ui/contrast.h"

#include <QtTest>

using kestrow::ui::contrastRatio;

class ContrastTest : public QObject {
    Q_OBJECT

  private slots:
    void ratios();
    void keepsOrRaisesContrast_data();
    void keepsOrRaisesContrast();
};

void ContrastTest::ratios() {
    QCOMPARE(qRound(contrastRatio(Qt::black, Qt::white) * 10), 210);
    QCOMPARE(contrastRatio(QColor(64, 64, 64), QColor(64, 64, 64)), 1.0);
    // The figures the dark scheme was found unreadable with.
    QCOMPARE(qRound(contrastRatio(QColor(64, 64, 64), QColor(34, 32, 32)) * 10), 16);
}

void ContrastTest::keepsOrRaisesContrast_data() {
    QTest::addColumn<QColor>("designed");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<bool>("scheme");  // the scheme's grey: the floor on any background
    const QColor light(239, 239, 239);
    const QColor dark(34, 32, 32);
    QTest::newRow("dark grey, light") << QColor(64, 64, 64) << light << 4.5 << true << false;
    // The links' green (4.47:1) and the change's grey (3.4:1) as designed.
    QTest::newRow("green, light") << QColor(0, 128, 0) << light << 4.5 << false << false;
    QTest::newRow("grey, light") << QColor(128, 128, 128) << light << 4.5 << false << false;
    QTest::newRow("green, white") << QColor(0, 128, 0) << QColor(Qt::white) << 4.5 << true << false;
    QTest::newRow("dark grey, dark") << QColor(64, 64, 64) << dark << 4.5 << false << false;
    QTest::newRow("green, dark") << QColor(0, 128, 0) << dark << 4.5 << false << false;
    QTest::newRow("grey, dark, 3:1") << QColor(128, 128, 128) << dark << 3.0 << true << false;
    QTest::newRow("grey, black, 4.5:1")
        << QColor(128, 128, 128) << QColor(Qt::black) << 4.5 << true << false;
    QTest::newRow("dim text, dark") << QColor(80, 78, 78) << dark << 3.0 << false << false;
    QTest::newRow("blue, navy") << QColor(0, 0, 160) << QColor(0, 0, 60) << 4.5 << false << false;
    // Qt's own and Adwaita's disabled text, and a scheme's grey that passes.
    QTest::newRow("pale grey, light, scheme")
        << QColor(190, 190, 190) << QColor(236, 236, 236) << 3.0 << false << true;
    QTest::newRow("pale blue, light, scheme")
        << QColor(150, 170, 220) << light << 3.0 << false << true;
    QTest::newRow("grey, light, scheme") << QColor(118, 118, 118) << light << 3.0 << true << true;
    QTest::newRow("dim text, dark, scheme") << QColor(80, 78, 78) << dark << 3.0 << false << true;
}

void ContrastTest::keepsOrRaisesContrast() {
    QFETCH(QColor, designed);
    QFETCH(QColor, background);
    QFETCH(double, minimum);
    QFETCH(bool, kept);
    QFETCH(bool, scheme);
    const QColor shown = scheme ? kestrow::ui::withContrast(designed, background, minimum)
                                : kestrow::ui::readable(designed, background, minimum);
    if (kept) {
        QCOMPARE(shown, designed);
        return;
    }
    QVERIFY2(contrastRatio(shown, background) >= minimum, qPrintable(shown.name()));
    QCOMPARE(shown.hslHue(), designed.hslHue());
    // Just enough: a step back towards the colour asked for falls short.
    const QColor hsl = shown.toHsl();
    const int back = kestrow::ui::isDark(background) ? -2 : 2;
    const QColor less = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), hsl.lightness() + back);
    QVERIFY2(contrastRatio(less, background) < minimum, qPrintable(shown.name()));
}

QTEST_APPLESS_MAIN(ContrastTest)
#include "contrast_test.moc"
