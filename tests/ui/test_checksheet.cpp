#include "helpers.h"

using namespace kugelfon;
using namespace kugelfon::test;

class TestCheckSheet : public QObject {
    Q_OBJECT
private slots:
    // Ten numbers a row, overlapping by a pixel; the colours show exactly as
    // set, the legend swatches too.
    void gridAndColours()
    {
        CheckSheet sheet;
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Kugelfon 1.1 - Kontrollblatt"));
        QCOMPARE(sheet.size(), QSize(259, 353));
        QCOMPARE(sheet.cmdZahl(1)->geometry(), QRect(8, 128, 25, 21));
        QCOMPARE(sheet.cmdZahl(2)->geometry().topLeft(), QPoint(32, 128));
        QCOMPARE(sheet.cmdZahl(11)->geometry().topLeft(), QPoint(8, 148));
        QCOMPARE(sheet.cmdZahl(90)->geometry().topLeft(), QPoint(224, 288));
        for (int n = 1; n <= 90; ++n)
            QCOMPARE(sheet.cmdZahl(n)->text(), QString::number(n));
        QCOMPARE(label(sheet, "lblNicht")->text(), "= nicht gezeigt");
        QCOMPARE(label(sheet, "lblGezeigt")->text(), "= gezeigt");

        sheet.showMarks(std::bitset<91>().set(7).set(90));
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        const QImage img = sheet.grab().toImage();
        // A point inside the button but off its caption.
        const auto colour = [&](int n) {
            return img.pixelColor(sheet.cmdZahl(n)->geometry().topLeft() + QPoint(3, 3));
        };
        QCOMPARE(colour(7), QColor(128, 255, 128));
        QCOMPARE(colour(90), QColor(128, 255, 128));
        QCOMPARE(colour(8), QColor(255, 0, 0));
        QCOMPARE(colour(91), QColor(128, 255, 128));
        QCOMPARE(colour(0), QColor(255, 0, 0));
        QCOMPARE(sheet.shownNumbers(), (QList<int>{7, 90}));
    }

    void hidingKeepsTheMarks()
    {
        bool backToGame = false;
        CheckSheet sheet;
        QObject::connect(&sheet, &CheckSheet::backToGame, [&] { backToGame = true; });
        sheet.showMarks(std::bitset<91>().set(12));
        sheet.show();
        QTest::mouseClick(sheet.cmdZahl(13), Qt::LeftButton); // does nothing
        click(sheet, "cmdZurück");
        QVERIFY(backToGame);
        QVERIFY(!sheet.isVisible());
        sheet.show();
        QVERIFY(!sheet.close()); // the close box hides, the sheet stays
        QVERIFY(!sheet.isVisible());
        sheet.show();
        QCOMPARE(sheet.shownNumbers(), QList<int>{12});
    }
};

QTEST_MAIN(TestCheckSheet)
#include "test_checksheet.moc"
