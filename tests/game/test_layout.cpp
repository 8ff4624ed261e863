// The main window's geometry on each of the four screens, in twips: every
// factor of each level shows in one of these rows.
#include "ui/main/layout.h"

#include <QtTest>

using namespace kugelfon;

Q_DECLARE_METATYPE(kugelfon::MainControl)

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void scaledGeometry_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<MainControl>("control");
        QTest::addColumn<QString>("twips");
        using C = MainControl;
        const auto row = [](int width, C c, const char *twips) {
            QTest::addRow("%d %s", width, mainControlName(c)) << width << c << QString(twips);
        };
        row(1280, C::PoolCaption, "264.00 120.00 1930.50 361.00");
        row(1280, C::NumberFrame, "180.00 540.00 18855.00 13030.95");
        row(1280, C::NumberDisplay, "540.20 899.80 16663.50 9847.50");
        row(1280, C::BingoButton, "1020.00 13800.00 4537.50 412.50");
        row(1280, C::StepButton, "6540.00 13800.00 4537.50 412.50");
        row(1280, C::SheetButton, "12420.00 13800.00 4537.50 412.50");
        row(1024, C::PoolCaption, "249.60 120.00 2106.00 361.00");
        row(1024, C::NumberFrame, "144.00 575.10 15060.43 9205.35");
        row(1024, C::NumberDisplay, "576.20 899.80 12225.94 7575.00");
        row(1024, C::StepButton, "5232.00 9936.00 4021.88 480.00");
        row(800, C::PoolCaption, "195.00 120.00 1439.65 361.00");
        row(800, C::NumberFrame, "112.50 556.20 11379.29 6694.80");
        row(800, C::NumberDisplay, "225.20 351.36 9763.77 6060.00");
        row(800, C::StepButton, "4087.50 7439.06 3142.09 328.13");
        row(640, C::NumberFrame, "90.00 575.10 9412.77 5021.10");
        row(640, C::NumberDisplay, "85.70 133.39 8490.23 4545.00");
        row(640, C::PoolCaption, "170.40 120.00 1406.74 361.00");
        row(640, C::BingoButton, "510.00 5757.19 2745.70 320.63");
    }
    void scaledGeometry()
    {
        QFETCH(int, width);
        QFETCH(MainControl, control);
        QFETCH(QString, twips);
        ScreenMeasure m;
        m.twipsPerPixelX = m.twipsPerPixelY = 15;
        m.twipsWidth = width * 15.0;
        m.twipsHeight = width * 15.0 * (width == 1280 ? 0.8 : 0.75);
        const TwipRect r = computeScreenLayout(m).rect(control);
        QCOMPARE(QString::asprintf("%.2f %.2f %.2f %.2f", r.left, r.top, r.width, r.height), twips);
    }
};

QTEST_GUILESS_MAIN(TestLayout)
#include "test_layout.moc"
