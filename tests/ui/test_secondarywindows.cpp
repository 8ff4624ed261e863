// The main window's menu entries that open the other windows.
#include "helpers.h"

#include "fakes/fakeprinters.h"

#include <QComboBox>

using namespace kugelfon;
using namespace kugelfon::test;

class TestSecondaryWindows : public QObject {
    Q_OBJECT
private slots:
    void printingHidesTheMainWindowAndGameGoesOn()
    {
        FakePrinters printers({QStringLiteral("Büro")}, QStringLiteral("Büro"));
        Harness h([&](Services &s) { s.printers = &printers; });
        QVERIFY(h.loaded);
        MainWindow &w = h.w();
        h.trigger("mnu5Sec");
        h.trigger("mnuNew");
        h.press(); // "Start"
        FakeTimer *timer = h.autoTimer();
        QVERIFY(timer->tick());
        QCOMPARE(int(h.caller->count()), 1);

        QAction *print = action(w, "mnuDrucken");
        print->trigger();
        QVERIFY(!w.isVisible());
        QPointer<QWidget> dialog = w.printDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->objectName(), QStringLiteral("frmDrucken"));
        // The automatic game goes on behind the dialog.
        QVERIFY(timer->tick());
        QCOMPARE(int(h.caller->count()), 2);

        click(*dialog, "cmdAbbrechen");
        QVERIFY(w.isVisible());
        QTRY_VERIFY(!dialog);
        print->trigger(); // a fresh dialog each time
        QVERIFY(w.printDialog() && w.printDialog()->isVisible());
        auto *rows = w.printDialog()->findChild<QComboBox *>(QStringLiteral("cboReihen"));
        QVERIFY(rows);
        QCOMPARE(rows->currentText(), QStringLiteral("1"));
        w.printDialog()->close();
        QVERIFY(w.isVisible());
    }

    void helpAndAboutOpenOnceAndComeToTheFront()
    {
        Harness h;
        MainWindow &w = h.w();
        action(w, "mnuHelpIt")->trigger();
        QPointer<QWidget> help = w.helpWindow();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->objectName(), QStringLiteral("frmHilfe"));
        help->hide();
        action(w, "mnuHelpIt")->trigger();
        QCOMPARE(w.helpWindow(), help.data()); // the open one, not a second
        QVERIFY(help->isVisible());

        action(w, "mnuOverMe")->trigger();
        QPointer<QWidget> about = w.aboutWindow();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("Kugelfon 1.1 - Information"));
        action(w, "mnuOverMe")->trigger();
        QCOMPARE(w.aboutWindow(), about.data());
        click(*about, "cmdOK");
        QTRY_VERIFY(!about);
        action(w, "mnuOverMe")->trigger(); // loaded afresh
        QVERIFY(w.aboutWindow() && w.aboutWindow()->isVisible());

        help->close();
        QTRY_VERIFY(!help);
        QVERIFY(w.isVisible());
    }
};

QTEST_MAIN(TestSecondaryWindows)
#include "test_secondarywindows.moc"
