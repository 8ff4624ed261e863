// The main window's geometry on each of the four screens, in twips: every
// factor of each level shows in one of these rows.
#include "ui/main/layout.h"

#include <QtTest>

using namespace kugelfon;

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    // "control left top width height", several separated by ", ".
    void scaledGeometry_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("twips");
        QTest::newRow("1280") << 1280 << "lblZahlModus 264.00 120.00 1930.50 361.00, frmZahl 180.00 540.00 18855.00 13030.95, lblZahlenfeld 540.20 899.80 16663.50 9847.50, cmdBingo 1020.00 13800.00 4537.50 412.50, cmdWeiter 6540.00 13800.00 4537.50 412.50, cmdZahlenTafel 12420.00 13800.00 4537.50 412.50";
        QTest::newRow("1024") << 1024 << "lblZahlModus 249.60 120.00 2106.00 361.00, frmZahl 144.00 575.10 15060.43 9205.35, lblZahlenfeld 576.20 899.80 12225.94 7575.00, cmdWeiter 5232.00 9936.00 4021.88 480.00";
        QTest::newRow("800") << 800 << "lblZahlModus 195.00 120.00 1439.65 361.00, frmZahl 112.50 556.20 11379.29 6694.80, lblZahlenfeld 225.20 351.36 9763.77 6060.00, cmdWeiter 4087.50 7439.06 3142.09 328.13";
        QTest::newRow("640") << 640 << "frmZahl 90.00 575.10 9412.77 5021.10, lblZahlenfeld 85.70 133.39 8490.23 4545.00, lblZahlModus 170.40 120.00 1406.74 361.00, cmdBingo 510.00 5757.19 2745.70 320.63";
    }
    void scaledGeometry()
    {
        QFETCH(int, width);
        QFETCH(QString, twips);
        ScreenMeasure m;
        m.twipsPerPixelX = m.twipsPerPixelY = 15;
        m.twipsWidth = width * 15.0;
        m.twipsHeight = width * 15.0 * (width == 1280 ? 0.8 : 0.75);
        const ScreenLayout layout = computeScreenLayout(m);
        for (const QString &want : twips.split(", ")) { // each control on its own, named first
            int c = 0;
            while (c < kMainControlCount && !want.startsWith(mainControlName(MainControl(c)) + QString(' ')))
                ++c;
            QVERIFY2(c < kMainControlCount, qPrintable(want));
            const TwipRect r = layout.rect(MainControl(c));
            QCOMPARE(mainControlName(MainControl(c)) + QString::asprintf(" %.2f %.2f %.2f %.2f", r.left, r.top, r.width, r.height), want);
        }
    }
};

QTEST_GUILESS_MAIN(TestLayout)
#include "test_layout.moc"
