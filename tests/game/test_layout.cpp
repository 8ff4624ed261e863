#include "ui/main/layout.h"

#include <QtTest>

using namespace kugelfon;

Q_DECLARE_METATYPE(kugelfon::MainControl)

namespace {
ScreenMeasure measure(double twipsWidth, double twipsHeight, double tpp)
{
    ScreenMeasure m;
    m.twipsWidth = twipsWidth;
    m.twipsHeight = twipsHeight;
    m.twipsPerPixelX = m.twipsPerPixelY = tpp;
    return m;
}
} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void scaledGeometry_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<MainControl>("control");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        // -1 marks a value that the design keeps.
        QTest::newRow("1280 lblZahlModus") << 1280 << 1024 << MainControl::lblZahlModus << 264.0 << 120.0 << 1930.5 << 361.0;
        QTest::newRow("1280 frmZahl") << 1280 << 1024 << MainControl::frmZahl << 180.0 << 540.0 << 18855.0 << 13030.95;
        QTest::newRow("1280 lblZahlenfeld") << 1280 << 1024 << MainControl::lblZahlenfeld << 540.2 << 899.8 << 16663.5 << 9847.5;
        QTest::newRow("1280 cmdBingo") << 1280 << 1024 << MainControl::cmdBingo << 1020.0 << 13800.0 << 4537.5 << 412.5;
        QTest::newRow("1280 cmdWeiter") << 1280 << 1024 << MainControl::cmdWeiter << 6540.0 << 13800.0 << 4537.5 << 412.5;
        QTest::newRow("1280 cmdZahlenTafel") << 1280 << 1024 << MainControl::cmdZahlenTafel << 12420.0 << 13800.0 << 4537.5 << 412.5;
        QTest::newRow("1024 lblZahlModus") << 1024 << 768 << MainControl::lblZahlModus << 249.6 << 120.0 << 2106.0 << 361.0;
        QTest::newRow("1024 frmZahl") << 1024 << 768 << MainControl::frmZahl << 144.0 << 575.1 << 15060.43 << 9205.35;
        QTest::newRow("1024 lblZahlenfeld") << 1024 << 768 << MainControl::lblZahlenfeld << 576.2 << 899.8 << 12225.94 << 7575.0;
        QTest::newRow("1024 cmdWeiter") << 1024 << 768 << MainControl::cmdWeiter << 5232.0 << 9936.0 << 4021.875 << 480.0;
        QTest::newRow("800 lblZahlModus") << 800 << 600 << MainControl::lblZahlModus << 195.0 << 120.0 << 1439.65 << 361.0;
        QTest::newRow("800 frmZahl") << 800 << 600 << MainControl::frmZahl << 112.5 << 556.2 << 11379.29 << 6694.8;
        QTest::newRow("800 lblZahlenfeld") << 800 << 600 << MainControl::lblZahlenfeld << 225.2 << 351.36 << 9763.77 << 6060.0;
        QTest::newRow("800 cmdWeiter") << 800 << 600 << MainControl::cmdWeiter << 4087.5 << 7439.06 << 3142.09 << 328.125;
        QTest::newRow("640 frmZahl") << 640 << 480 << MainControl::frmZahl << 90.0 << 575.1 << 9412.77 << 5021.1;
        QTest::newRow("640 lblZahlenfeld") << 640 << 480 << MainControl::lblZahlenfeld << 85.7 << 133.39 << 8490.23 << 4545.0;
        QTest::newRow("640 lblZahlModus") << 640 << 480 << MainControl::lblZahlModus << 170.4 << 120.0 << 1406.74 << 361.0;
        QTest::newRow("640 cmdBingo") << 640 << 480 << MainControl::cmdBingo << 510.0 << 5757.19 << 2745.70 << 320.625;
    }
    void scaledGeometry()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(MainControl, control);
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(double, width);
        QFETCH(double, height);
        const ScreenLayout l = computeScreenLayout(measure(w * 15.0, h * 15.0, 15));
        const TwipRect r = l.rect(control);
        QVERIFY2(qAbs(r.left - left) < 0.01, qPrintable(QString::number(r.left)));
        QVERIFY2(qAbs(r.top - top) < 0.01, qPrintable(QString::number(r.top)));
        QVERIFY2(qAbs(r.width - width) < 0.01, qPrintable(QString::number(r.width)));
        QVERIFY2(qAbs(r.height - height) < 0.01, qPrintable(QString::number(r.height)));
    }

    void otherDensityUsesBothRatios()
    {
        // 1024 x 768 pixels at 120 dpi (12 twips per pixel): accepted by its
        // pixels, scaled by pixels and twips where each applies.
        const ScreenLayout l = computeScreenLayout(measure(1024 * 12.0, 768 * 12.0, 12));
        QCOMPARE(int(l.level), 3);
        QCOMPARE(l.screen.widthTwips, 12288);
        const double tx = 12288 / 19200.0, ty = 9216 / 15360.0;
        const TwipRect status = l.rect(MainControl::lblZahlModus);
        QVERIFY(qAbs(status.left - 240 * tx * 1.3) < 0.01);
        QVERIFY(qAbs(status.width - 1755 * ty * 1.6) < 0.01);
        const TwipRect button = l.rect(MainControl::cmdWeiter);
        QVERIFY(qAbs(button.left - 6540 * 0.8) < 0.01); // pixels ratio
        QVERIFY(qAbs(button.width - 4125 * ty * 1.3) < 0.01);
        QVERIFY(qAbs(button.height - 375 * tx * 1.6) < 0.01);
    }
};

QTEST_GUILESS_MAIN(TestLayout)
#include "test_layout.moc"
