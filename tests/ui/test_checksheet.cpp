#include "helpers.h"

using namespace kugelfon;
using namespace kugelfon::test;

class TestCheckSheet : public QObject {
    Q_OBJECT
private slots:
    void gridAndLegend()
    {
        CheckSheet sheet;
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Kugelfon 1.1 - Kontrollblatt"));
        QCOMPARE(sheet.size(), QSize(259, 353)); // 3885 x 5295 twips
        for (int n = 1; n <= 90; ++n) {
            QPushButton *b = sheet.cmdZahl(n);
            QCOMPARE(b->text(), QString::number(n));
            const int left = 120 + 360 * ((n - 1) % 10);
            const int top = 1920 + 300 * ((n - 1) / 10);
            QCOMPARE(b->geometry(), QRect(qRound(left / 15.0), qRound(top / 15.0), 25, 21));
            QCOMPARE(sheet.numberColour(n), kNotShown);
        }
        QVERIFY(!sheet.cmdZahl(0)->isEnabled());
        QVERIFY(!sheet.cmdZahl(91)->isEnabled());
        QCOMPARE(sheet.numberColour(0), QColor(255, 0, 0));
        QCOMPARE(sheet.numberColour(91), QColor(128, 255, 128));
        QCOMPARE(sheet.cmdZahl(92), nullptr);
        QCOMPARE(label(sheet, "lblNicht")->text(), QStringLiteral("= nicht gezeigt"));
        QCOMPARE(label(sheet, "lblGezeigt")->text(), QStringLiteral("= gezeigt"));
        QVERIFY(button(sheet, "cmdZurück")->isDefault());
    }

    void coloursShowExactly()
    {
        CheckSheet sheet;
        sheet.setNumberColour(7, kShown);
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        const QImage img = sheet.grab().toImage();
        auto centre = [&](int n) {
            const QRect g = sheet.cmdZahl(n)->geometry();
            // A point inside the button but off its caption.
            return img.pixelColor(g.left() + 3, g.top() + 3);
        };
        QCOMPARE(centre(7), QColor(128, 255, 128));
        QCOMPARE(centre(8), QColor(255, 0, 0));
        QCOMPARE(centre(91), QColor(128, 255, 128));
        QCOMPARE(centre(0), QColor(255, 0, 0));
    }

    void hidingKeepsTheMarks()
    {
        bool mainShown = false;
        CheckSheet sheet;
        QObject::connect(&sheet, &CheckSheet::backToGame, [&] { mainShown = true; });
        sheet.setNumberColour(12, kShown);
        sheet.show();
        QTest::mouseClick(sheet.cmdZahl(13), Qt::LeftButton); // does nothing
        QCOMPARE(sheet.numberColour(13), kNotShown);
        click(sheet, "cmdZurück");
        QVERIFY(mainShown);
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
