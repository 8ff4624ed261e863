// The main window's wiring: every button and menu item reaches its rule,
// everything the caller publishes shows on its widget, the keyboard works,
// and the other windows come and go as they should. The rules themselves
// are pinned by tests/game/test_caller.cpp.
#include "helpers.h"

#include "fakes/fakeprinters.h"
#include "ui/interval/intervaldialog.h"

#include <QApplication>
#include <QComboBox>
#include <QSlider>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

const QStringList kMarkable = {"mnuWeiblich", "mnuMännlich", "mnuManuell", "mnu5Sec", "mnu10Sec",
                               "mnu20Sec", "mnuManuellSec", "mnu75Zahlen", "mnu90Zahlen"};

// The window as one line: status row, display ("#" the number at the count)
// and its size, step button caption/tool tip, the three buttons, the pool
// items, the check marks and how many numbers are green on the sheet.
QString seen(Harness &h)
{
    const QString count = h.text("lblAnzahlZahlen");
    QString shown = h.display().isEmpty() ? QStringLiteral("-") : h.display();
    if (!count.isEmpty() && h.display() == QString::number(h.order(count.toInt())))
        shown = QStringLiteral("#");
    const bool on = h.button("cmdWeiter")->isEnabled();
    const bool same = on == h.button("cmdBingo")->isEnabled()
        && on == h.button("cmdZahlenTafel")->isEnabled();
    // Text is drawn as at 96 dpi: a point is 4/3 pixel.
    const int pixels = QFontInfo(label(h.w(), "lblZahlenfeld")->font()).pixelSize();
    return QStringList{h.text("lblModusZahl"), h.text("lblModusSchalten"),
                       count + " von " + h.text("lblletzteModusZahl"), h.text("lblStimmenModus"),
                       shown + QStringLiteral(" %1px").arg(pixels),
                       h.caption() + '/' + h.button("cmdWeiter")->toolTip(),
                       same ? (on ? "buttons" : "no buttons") : "buttons differ", h.pools(),
                       h.checked(kMarkable).join(' '), QStringLiteral("%1 green").arg(h.shown().size())}
        .join(" | ");
}

IntervalDialog *openDialog(Harness &h)
{
    h.trigger("mnuManuellSec");
    return h.w().intervalDialog();
}

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { flushDeletes(); }

    // Words: menu items (mnu...), buttons (cmd...), "tick" and "letter" for
    // the two timers, "take:N" for the interval dialog; "*N" repeats.
    void wiring_data()
    {
        QTest::addColumn<QString>("doing");
        QTest::addColumn<QString>("seen");
        const QString start = "75 Zahlen | Manuell |  von 75 | Weiblich | - 533px | Weiter/Weiter | ";
        const QString marks = " | mnuWeiblich mnuManuell mnu75Zahlen | ";
        const auto row = [](const char *name, const char *doing, const QString &seen) {
            QTest::newRow(name) << doing << seen;
        };
        row("start", "", start + "no buttons | pools" + marks + "0 green");
        row("Neues Spiel", "mnuNew",
            "75 Zahlen | Manuell |  von 75 | Weiblich | - 683px | Weiter/Weiter | buttons | pools" + marks + "0 green");
        row("Weiter", "mnuNew cmdWeiter*2",
            "75 Zahlen | Manuell | 2 von 75 | Weiblich | # 683px | Weiter/Weiter | buttons | pools" + marks + "2 green");
        row("Neues Spiel again", "mnuNew cmdWeiter*3 mnuNew",
            "75 Zahlen | Manuell |  von 75 | Weiblich | - 683px | Weiter/Weiter | buttons | pools" + marks + "0 green");
        row("end of pool", "mnuNew cmdWeiter*76",
            "75 Zahlen | Manuell |  von 75 | Weiblich | - 683px | Start/Start | buttons | pools" + marks + "75 green");
        row("Männlich", "mnuMännlich",
            "75 Zahlen | Manuell |  von 75 | Männlich | - 533px | Weiter/Weiter | no buttons | pools"
            " | mnuMännlich mnuManuell mnu75Zahlen | 0 green");
        row("Männlich, Weiblich", "mnuMännlich mnuWeiblich", start + "no buttons | pools" + marks + "0 green");
        row("5 Sekunden", "mnu5Sec",
            "75 Zahlen | 5 Sekunden |  von 75 | Weiblich | - 533px | Start/Weiter | no buttons | pools"
            " | mnuWeiblich mnu5Sec mnu75Zahlen | 0 green");
        row("10 Sekunden", "mnu10Sec",
            "75 Zahlen | 10 Sekunden |  von 75 | Weiblich | - 533px | Start/Weiter | no buttons | pools"
            " | mnuWeiblich mnu10Sec mnu75Zahlen | 0 green");
        row("20 Sekunden", "mnu20Sec",
            "75 Zahlen | 20 Sekunden |  von 75 | Weiblich | - 533px | Start/Weiter | no buttons | pools"
            " | mnuWeiblich mnu20Sec mnu75Zahlen | 0 green");
        row("10 Sekunden, Manuell", "mnu10Sec mnuManuell", start + "no buttons | pools" + marks + "0 green");
        row("Manuell einstellen only opens", "mnu10Sec mnuManuellSec",
            "75 Zahlen | 10 Sekunden |  von 75 | Weiblich | - 533px | Start/Weiter | no buttons | pools"
            " | mnuWeiblich mnu10Sec mnu75Zahlen | 0 green");
        row("taken at 1", "take:1",
            "75 Zahlen | 1 Sekunde |  von 75 | Weiblich | - 533px | Start/Weiter | no buttons | pools"
            " | mnuWeiblich mnuManuellSec mnu75Zahlen | 0 green");
        row("taken at 12", "mnu5Sec take:12",
            "75 Zahlen | 12 Sekunden |  von 75 | Weiblich | - 533px | Start/Weiter | no buttons | pools"
            " | mnuWeiblich mnuManuellSec mnu75Zahlen | 0 green");
        row("90", "mnu90Zahlen",
            "90 Zahlen | Manuell |  von 90 | Weiblich | - 683px | Weiter/Weiter | buttons | pools"
            " | mnuWeiblich mnuManuell mnu90Zahlen | 0 green");
        row("90, 75", "mnu90Zahlen mnu75Zahlen",
            "75 Zahlen | Manuell |  von 75 | Weiblich | - 683px | Weiter/Weiter | buttons | pools" + marks + "0 green");
        row("running", "mnuNew mnu5Sec cmdWeiter tick",
            "75 Zahlen | 5 Sekunden | 1 von 75 | Weiblich | # 683px | Stop/Weiter | buttons | no pools"
            " | mnuWeiblich mnu5Sec mnu75Zahlen | 1 green");
        row("paused", "mnuNew mnu5Sec cmdWeiter tick*3 cmdWeiter",
            "75 Zahlen | 5 Sekunden | 3 von 75 | Weiblich | - 683px | Pause/Weiter | buttons | pools"
            " | mnuWeiblich mnu5Sec mnu75Zahlen | 3 green");
        row("Bingo typed", "mnuNew cmdWeiter cmdBingo letter*2",
            "75 Zahlen | Manuell | 1 von 75 | Weiblich | Bi 390px | Weiter/Weiter | buttons | pools" + marks + "1 green");
    }
    void wiring()
    {
        QFETCH(QString, doing);
        QFETCH(QString, seen);
        Harness h;
        for (const QString &word : doing.split(' ', Qt::SkipEmptyParts)) {
            const QStringList parts = word.split('*');
            const QString &what = parts[0];
            for (int i = 0; i < parts.value(1, "1").toInt(); ++i) {
                if (what.startsWith("mnu"))
                    h.trigger(what);
                else if (what.startsWith("cmd"))
                    h.click(what);
                else if (what.startsWith("take:")) {
                    IntervalDialog *d = openDialog(h);
                    d->slider()->setValue(what.mid(5).toInt());
                    click(*d, "cmdZurück");
                } else
                    QVERIFY((what == "tick" ? h.autoTimer() : h.zeitUni())->tick());
            }
        }
        flushDeletes();
        QCOMPARE(::seen(h), seen);
        QCOMPARE(h.shown(), h.firstOfOrder(h.shown().size())); // green: the first of the order
        QCOMPARE(h.w().intervalDialog() != nullptr, doing.endsWith("mnuManuellSec"));
        QVERIFY(h.w().windowTitle().startsWith("Kugelfon 1.1          "));
    }

    // The menus' access keys and the two shortcuts reach their items.
    void keyboard_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("result");
        const auto row = [](const char *keys, const char *result) {
            QTest::newRow(keys) << keys << result;
        };
        row("Ctrl+N", "75 Zahlen Manuell Weiblich buttons");
        row("Ctrl+D", "75 Zahlen Manuell Weiblich hidden frmDrucken");
        row("Alt+D N", "75 Zahlen Manuell Weiblich buttons");
        row("Alt+D S", "75 Zahlen Manuell Weiblich hidden frmDrucken");
        row("Alt+D B", "75 Zahlen Manuell Weiblich Programm schliessen");
        row("Alt+E 9", "90 Zahlen Manuell Weiblich buttons");
        row("Alt+E 9 Alt+E 7", "75 Zahlen Manuell Weiblich buttons");
        row("Alt+E A K", "75 Zahlen 5 Sekunden Weiblich");
        row("Alt+E A U", "75 Zahlen 10 Sekunden Weiblich");
        row("Alt+E A D", "75 Zahlen 20 Sekunden Weiblich");
        row("Alt+E A D Alt+E M", "75 Zahlen Manuell Weiblich");
        row("Alt+E A M", "75 Zahlen Manuell Weiblich frmZeitManuell");
        row("Alt+E N Ä", "75 Zahlen Manuell Männlich");
        row("Alt+E N Ä Alt+E N W", "75 Zahlen Manuell Weiblich");
        row("Alt+? H", "75 Zahlen Manuell Weiblich frmHilfe");
        row("Alt+? Ü", "75 Zahlen Manuell Weiblich frmAbout");
    }
    void keyboard()
    {
        QFETCH(QString, keys);
        QFETCH(QString, result);
        FakePrinters printers({"Büro"}, "Büro");
        Harness h([&](Services &s) { s.printers = &printers; });
        h.f.messages.responder = [](const ShownBox &) { return kAnswerNo; };
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        for (const QString &key : keys.split(' ')) {
            const QKeyCombination k = QKeySequence(key)[0];
            QWidget *menu = QApplication::activePopupWidget();
            QTest::sendKeyEvent(QTest::Click, menu && key.size() == 1 ? menu : &h.w(), k.key(),
                                key.right(1).toLower(), k.keyboardModifiers());
        }
        QStringList seen = {h.text("lblModusZahl"), h.text("lblModusSchalten"),
                            h.text("lblStimmenModus")};
        if (h.button("cmdWeiter")->isEnabled())
            seen << "buttons";
        if (!h.w().isVisible())
            seen << "hidden";
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top != &h.w() && top->isVisible() && !top->inherits("QMenu"))
                seen << top->objectName();
        for (const ShownBox &box : h.f.messages.shown)
            seen << box.title;
        QCOMPARE(seen.join(' '), result);
    }

    // Enter on the check sheet goes back to the game. In the interval dialog
    // the keys move the slider by 1 and 5 up to 60, and Esc takes the value.
    void enterAndEsc()
    {
        Harness h;
        h.trigger("mnuNew");
        h.click("cmdZahlenTafel");
        QVERIFY(QTest::qWaitForWindowActive(&h.sheet()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!h.sheet().isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), &h.w());

        IntervalDialog *d = openDialog(h);
        QVERIFY(QTest::qWaitForWindowActive(d));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(label(*d, "lblSekundenAnzeige")->text(), "7 Sekunden");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        flushDeletes();
        QVERIFY(!h.w().intervalDialog());
        QCOMPARE(h.text("lblModusSchalten"), "60 Sekunden");
        QCOMPARE(h.caption(), "Start");
    }

    // A fresh slider at 1 each time; text and interval follow the slider; the
    // close box puts back the interval in force; only one dialog is open.
    void intervalDialog()
    {
        Harness h;
        h.trigger("mnuNew");
        h.trigger("mnu20Sec");
        QPointer<IntervalDialog> d = openDialog(h);
        const auto seconds = [&] { return label(*d, "lblSekundenAnzeige")->text(); };
        QCOMPARE(d->windowTitle(), "Kugelfon 1.1 - Zeiteinstellung Manuell");
        QCOMPARE(d->slider()->value(), 1);
        QCOMPARE(seconds(), "");
        d->slider()->setValue(2);
        QCOMPARE(seconds(), "2 Sekunden");
        d->slider()->setValue(1);
        QCOMPARE(seconds(), "1 Sekunde");
        d->slider()->setValue(30);
        QCOMPARE(h.settings.intervalSeconds, 30.0f);
        d->hide(); // behind or minimised: the item brings back the same one
        QCOMPARE(openDialog(h), d.data());
        QVERIFY(d->isVisible());
        QCOMPARE(seconds(), "30 Sekunden");
        h.press(); // the main window stays usable
        QCOMPARE(h.caption(), "Stop");
        QVERIFY(d->close());
        flushDeletes();
        QVERIFY(d.isNull());
        QCOMPARE(h.settings.intervalSeconds, 20.0f);
        QCOMPARE(h.text("lblModusSchalten"), "20 Sekunden");
        QCOMPARE(h.checked(kMarkable), (QStringList{"mnuWeiblich", "mnu20Sec", "mnu75Zahlen"}));
        QCOMPARE(openDialog(h)->slider()->value(), 1); // a fresh one
    }

    void quit_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<int>("answer");
        QTest::newRow("menu, Ja") << false << kAnswerYes;
        QTest::newRow("menu, Nein") << false << kAnswerNo;
        QTest::newRow("close box, Ja") << true << kAnswerYes;
        QTest::newRow("close box, Nein") << true << kAnswerNo;
    }
    void quit()
    {
        QFETCH(bool, closeBox);
        QFETCH(int, answer);
        Harness h;
        h.trigger("mnuNew");
        h.press();
        h.f.messages.responder = [&](const ShownBox &) { return answer; };
        closeBox ? void(h.w().close()) : h.trigger("mnuCloseAll");
        QCOMPARE(h.f.messages.shown.size(), 1);
        QCOMPARE(h.f.messages.shown[0].title, "Programm schliessen");
        QCOMPARE(h.f.app.quits, answer == kAnswerYes);
        QCOMPARE(h.w().isVisible(), answer == kAnswerNo || !closeBox);
        h.press(); // after Nein the game goes on
        QCOMPARE(h.text("lblAnzahlZahlen"), "2");
    }

    void secondaryWindows()
    {
        FakePrinters printers({"Büro"}, "Büro");
        Harness h([&](Services &s) { s.printers = &printers; });
        MainWindow &w = h.w();
        h.trigger("mnu5Sec");
        h.trigger("mnuNew");
        h.press();
        // Printing hides the main window; the game goes on behind the dialog.
        h.trigger("mnuDrucken");
        QVERIFY(!w.isVisible());
        QPointer<QWidget> print = w.printDialog();
        QVERIFY(print && print->isVisible());
        QVERIFY(h.autoTimer()->tick());
        QCOMPARE(h.text("lblAnzahlZahlen"), "1");
        click(*print, "cmdAbbrechen");
        QVERIFY(w.isVisible());
        QTRY_VERIFY(!print);
        h.trigger("mnuDrucken"); // a fresh dialog each time
        QVERIFY(w.printDialog() && w.printDialog()->findChild<QComboBox *>("cboReihen"));
        w.printDialog()->close();
        QVERIFY(w.isVisible());

        // Help and about open once and come to the front again.
        QPointer<QWidget> open;
        for (const char *item : {"mnuOverMe", "mnuHelpIt"}) {
            h.trigger(item);
            open = item[3] == 'H' ? w.helpWindow() : w.aboutWindow();
            QVERIFY(open && open->isVisible());
            open->hide();
            h.trigger(item);
            QCOMPARE(item[3] == 'H' ? w.helpWindow() : w.aboutWindow(), open.data());
            QVERIFY(open->isVisible());
        }
        w.hide(); // closing help brings the main window back
        open->close();
        QTRY_VERIFY(!open);
        QVERIFY(w.isVisible());
    }

    // "Zahlentafel anzeigen" lays the sheet out for the pool; a claim shows
    // it as it stands; choosing a pool lays out a visible sheet again.
    void checkSheetLayout_data()
    {
        QTest::addColumn<bool>("ninety");
        QTest::addColumn<bool>("laidOut");
        QTest::addColumn<bool>("visible76");
        QTest::newRow("75, never laid out") << false << false << true;
        QTest::newRow("75, laid out") << false << true << false;
        QTest::newRow("90, laid out") << true << true << true;
    }
    void checkSheetLayout()
    {
        QFETCH(bool, ninety);
        QFETCH(bool, laidOut);
        QFETCH(bool, visible76);
        Harness h;
        CheckSheet &sheet = h.sheet();
        h.trigger(ninety ? "mnu90Zahlen" : "mnu75Zahlen");
        if (laidOut) {
            h.click("cmdZahlenTafel");
            QVERIFY(sheet.isVisible());
            click(sheet, "cmdZurück");
            QVERIFY(!sheet.isVisible() && h.w().isVisible());
        }
        h.click("cmdBingo"); // before any number: every button red
        for (int k = 0; k < 4; ++k)
            QVERIFY(h.zeitUni()->tick());
        QVERIFY(!sheet.isVisible());
        QVERIFY(h.zeitUni()->tick()); // "Bingo"
        QVERIFY(sheet.isVisible());
        QVERIFY(h.shown().isEmpty());
        QCOMPARE(sheet.cmdZahl(76)->isVisibleTo(&sheet), visible76);
        QCOMPARE(sheet.cmdZahl(90)->isVisibleTo(&sheet), visible76);
        QVERIFY(sheet.cmdZahl(75)->isVisibleTo(&sheet));

        h.trigger(ninety ? "mnu75Zahlen" : "mnu90Zahlen"); // open: laid out anew
        QCOMPARE(sheet.cmdZahl(76)->isVisibleTo(&sheet), !ninety);
        sheet.close();
        h.trigger(ninety ? "mnu90Zahlen" : "mnu75Zahlen"); // hidden: left as it is
        QCOMPARE(sheet.cmdZahl(76)->isVisibleTo(&sheet), !ninety);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
