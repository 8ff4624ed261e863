// The main window's wiring: every menu item, reached by its access key or
// shortcut, and every button gets to its rule, and everything the caller
// publishes shows on its widget, also painted while a number is called; the
// other windows come and go as they should. The rules are test_caller's.
#include "fakes/fakeprinters.h"
#include "fakes/fakes.h"
#include "fakes/testkit.h"

#include "ui/interval/intervaldialog.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"

#include <QApplication>
#include <QBackingStore>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QtTest>
#include <qpa/qplatformbackingstore.h>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

QString labelText(const QWidget &w, const QString &name) { return child<QLabel>(w, name)->text(); }

// A main window on fake services, started up and shown.
struct Harness {
    FakeServices f;
    FakePrinters printers{{"Büro"}, "Büro"};
    Caller caller{services()};
    CheckSheet sheet{caller};
    MainWindow window{caller, sheet, services()};

    Harness() { window.startUp(), window.show(); }
    Services services()
    {
        Services s = f.services();
        s.printers = printers;
        return s;
    }
    MainWindow &w() { return window; }
    QString text(const QString &name) const { return labelText(window, name); }
    QAction *item(const char *name) const { return child<QAction>(window, name); }
    FakeTimer *autoTimer() const { return f.timers.timer(TimerRole::AutoStep); }
};

// What the window has painted of a label, against the label drawn with the
// text it should show.
bool paints(const QWidget &window, QLabel *label, const QString &text)
{
    const QRect r(label->mapTo(&window, QPoint(0, 0)) * window.devicePixelRatio(), label->size() * window.devicePixelRatio());
    const QImage painted = window.backingStore()->handle()->toImage().copy(r);
    const QString was = label->text();
    label->setText(text);
    const QImage want = label->grab().toImage();
    label->setText(was);
    return painted.convertToFormat(QImage::Format_RGB32) == want.convertToFormat(QImage::Format_RGB32);
}

// What the user sees where it differs from the start (kStart): the status
// row, the display ("#" the number at the count) and its size, the step
// button's caption and tool tip, the three buttons, the pool items, the
// check marks, how many numbers are green on the sheet, the stepping
// interval; then the other windows open by caption (the sheet with its number
// of buttons, the interval dialog with its slider and text, and where it
// stands by the main window), the main window hidden or not active, and the
// titles of the boxes asked.
const QStringList kStart = {"75 Zahlen", "Manuell", " von 75", "Weiblich", "- 533px", "Weiter/Weiter", "no buttons",
                            "pools", "Weiblich Manuell 75Zahlen", "0 green", "timer off"};
QString seen(Harness &h)
{
    const QString count = h.text("lblAnzahlZahlen");
    QString shown = h.text("lblZahlenfeld").isEmpty() ? "-" : h.text("lblZahlenfeld");
    if (!count.isEmpty() && shown == QString::number(h.caller.order()[size_t(count.toInt())]))
        shown = "#";
    auto *step = child<QPushButton>(h.w(), "cmdWeiter");
    const bool on = step->isEnabled(), pools = h.item("mnu75Zahlen")->isEnabled();
    const bool same = on == child(h.w(), "cmdBingo")->isEnabled() && on == child(h.w(), "cmdZahlenTafel")->isEnabled();
    QStringList marks, out;
    for (const char *item : {"mnuWeiblich", "mnuMännlich", "mnuManuell", "mnu5Sec", "mnu10Sec", "mnu20Sec",
                             "mnuManuellSec", "mnu75Zahlen", "mnu90Zahlen"})
        if (h.item(item)->isChecked())
            marks << QString::fromUtf8(item + 3);
    // Text is drawn as at 96 dpi: a point is 4/3 pixel.
    const int pixels = QFontInfo(child<QLabel>(h.w(), "lblZahlenfeld")->font()).pixelSize();
    const QStringList all = {
        h.text("lblModusZahl"), h.text("lblModusSchalten"), count + " von " + h.text("lblletzteModusZahl"),
        h.text("lblStimmenModus"), shown + QStringLiteral(" %1px").arg(pixels), step->text() + '/' + step->toolTip(),
        same ? (on ? "buttons" : "no buttons") : "buttons differ",
        pools == h.item("mnu90Zahlen")->isEnabled() ? (pools ? "pools" : "no pools") : "pools differ",
        marks.join(' '), QStringLiteral("%1 green").arg(h.sheet.shownNumbers().size()),
        h.autoTimer()->isEnabled() ? QStringLiteral("every %1 ms").arg(h.autoTimer()->interval()) : "timer off"};
    for (int i = 0; i < all.size(); ++i)
        if (all[i] != kStart[i])
            out << all[i];
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top == &h.w() || !top->isVisible() || top->inherits("QMenu"))
            continue;
        QString name = top->windowTitle().section(" - ", 1);
        name = name.isEmpty() ? top->objectName() : name;
        int numbers = 0;
        for (int n = 1; n <= 90 && top == &h.sheet; ++n)
            numbers += h.sheet.cmdZahl(n)->isVisibleTo(top);
        name += numbers ? QStringLiteral(" %1").arg(numbers) : QString();
        if (auto *dialog = qobject_cast<IntervalDialog *>(top)) {
            const QRect d = dialog->frameGeometry(), m = h.w().frameGeometry();
            name += QStringLiteral(" at %1: %2 ").arg(dialog->slider()->value()).arg(labelText(*dialog, "lblSekundenAnzeige"))
                + (d.left() > m.right() ? "right" : d.right() < m.left() ? "left" : m.contains(d) ? "over" : "partly over")
                + (d.top() == m.top() ? "" : " lower") + (h.w().screen()->availableGeometry().contains(d) ? "" : " off screen");
        }
        out << name;
    }
    if (!h.w().isVisible())
        out << "hidden";
    else if (QApplication::activeWindow() != &h.w())
        out << "main inactive";
    for (const ShownBox &box : h.f.messages.shown)
        out << box.title;
    return out.join('|');
}

// Words: keys (to the open menu or the focus), menu items (mnu...) and
// buttons (cmd...) of any window, "tick" and "letter" for the two timers,
// "slider:N" and "take:N" in the interval dialog, "close" for the close box
// of the active window, "yes" to answer boxes Ja from then on (else Nein),
// "main:X,Y,W,H" for the main window's geometry; "*N" repeats.
void act(Harness &h, const QString &what, int &answer)
{
    IntervalDialog *dialog = h.w().intervalDialog();
    const QString arg = what.section(':', 1);
    if (what.startsWith("mnu")) {
        h.item(qPrintable(what))->trigger();
    } else if (what.startsWith("cmd")) {
        QPushButton *b = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            b = b ? b : top->isVisible() ? child<QPushButton>(*top, what) : nullptr;
        QVERIFY2(b, qPrintable(what));
        QTest::mouseClick(b, Qt::LeftButton);
    } else if (what.startsWith("slider:") || what.startsWith("take:")) {
        dialog->slider()->setValue(arg.toInt());
        if (what.startsWith("take:"))
            click(*dialog, "cmdZurück");
    } else if (what.startsWith("main:")) {
        const QStringList g = arg.split(',');
        h.w().setGeometry(g[0].toInt(), g[1].toInt(), g[2].toInt(), g[3].toInt());
    } else if (what == "tick" || what == "letter") {
        QVERIFY((what == "tick" ? h.autoTimer() : h.f.timers.timer(TimerRole::BingoLetters))->tick());
    } else if (what == "close" || what == "yes") {
        what == "yes" ? void(answer = kAnswerYes) : void(QApplication::activeWindow()->close());
    } else {
        QTRY_VERIFY(QApplication::activeWindow());
        const QKeyCombination k = QKeySequence(what)[0];
        QWidget *menu = QApplication::activePopupWidget();
        QWidget *to = menu && what.size() == 1 ? menu : QApplication::focusWidget();
        QTest::sendKeyEvent(QTest::Click, to ? to : QApplication::activeWindow(), k.key(),
                            what.size() == 1 || what.contains('+') ? what.right(1).toLower() : QString(),
                            k.keyboardModifiers());
    }
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { flushDeletes(); }

    void window_data()
    {
        QTest::addColumn<QString>("doing");
        QTest::addColumn<QString>("seen");
        const auto row = [](const char *doing, const char *seen) { QTest::newRow(doing) << doing << seen; };
        row("", "");
        row("Ctrl+N", "- 683px|buttons");
        row("Alt+D N cmdWeiter*2", "2 von 75|# 683px|buttons|2 green");
        row("Ctrl+N cmdWeiter*3 Alt+D N cmdWeiter", "1 von 75|# 683px|buttons|1 green");
        row("Ctrl+N cmdWeiter*76", "- 683px|Start/Start|buttons|75 green|Kugelfon");
        row("Alt+D S", "frmDrucken|hidden");
        row("Ctrl+N Alt+E A K cmdWeiter Ctrl+D tick", "5 Sekunden|1 von 75|# 683px|Stop/Weiter|buttons|no pools|Weiblich 5Sec 75Zahlen|1 green|every 5000 ms|frmDrucken|hidden");
        row("Ctrl+D look cmdAbbrechen", "frmDrucken|hidden ; ");
        row("Alt+D B", "Programm schliessen");
        row("close", "Programm schliessen");
        row("yes close", "hidden|Programm schliessen");
        row("Alt+E N Ä look Alt+E N W", "Männlich|Männlich Manuell 75Zahlen ; ");
        row("Alt+E A K look Alt+E A U look Alt+E A D look Alt+E M", "5 Sekunden|Start/Weiter|Weiblich 5Sec 75Zahlen ; 10 Sekunden|Start/Weiter|Weiblich 10Sec 75Zahlen ; 20 Sekunden|Start/Weiter|Weiblich 20Sec 75Zahlen ; ");
        row("Alt+E 9 look Alt+E 7", "90 Zahlen| von 90|- 683px|buttons|Weiblich Manuell 90Zahlen ; - 683px|buttons");
        row("Ctrl+N Alt+E A K cmdWeiter tick*3 cmdWeiter", "5 Sekunden|3 von 75|- 683px|Pause/Weiter|buttons|Weiblich 5Sec 75Zahlen|3 green");
        // The sheet shows at "Bingo" with the buttons of the game's pool,
        // however it was laid out last; Enter on it goes back to the game.
        row("Ctrl+N cmdWeiter*2 cmdBingo letter*5", "2 von 75|Bingo 390px|buttons|2 green|Kontrollblatt 75|main inactive");
        row("Ctrl+N cmdZahlenTafel close mnu90Zahlen cmdWeiter*2 cmdBingo letter*5", "90 Zahlen|2 von 90|Bingo 390px|buttons|Weiblich Manuell 90Zahlen|2 green|Kontrollblatt 90|main inactive");
        // "Bingo!" too stands on the window while it is heard.
        row("Ctrl+N cmdWeiter cmdBingo letter*6", "- 683px|buttons|Kontrollblatt 75|main inactive|Weiterspielen?");
        row("Ctrl+N cmdZahlenTafel look Return", "- 683px|buttons|Kontrollblatt 75|main inactive ; - 683px|buttons");
        row("mnu90Zahlen cmdZahlenTafel mnu75Zahlen", "- 683px|buttons|Kontrollblatt 75|main inactive");
        row("mnu90Zahlen cmdZahlenTafel cmdZurück mnu75Zahlen cmdBingo letter*5", "Bingo 390px|buttons|Kontrollblatt 75|main inactive");
        // The interval dialog opens once, at 1; its keys move by 1 and 5 up to
        // 60 and Esc takes the value; the slider sets the interval as it
        // moves, and the close box undoes only that.
        row("Alt+E A M Right look PgUp", "Zeiteinstellung Manuell at 2: 2 Sekunden over lower|main inactive ; Zeiteinstellung Manuell at 7: 7 Sekunden over lower|main inactive");
        row("Alt+E A M End Esc", "60 Sekunden|Start/Weiter|Weiblich ManuellSec 75Zahlen");
        row("Alt+E A M take:1", "1 Sekunde|Start/Weiter|Weiblich ManuellSec 75Zahlen");
        row("Alt+E A M take:2", "2 Sekunden|Start/Weiter|Weiblich ManuellSec 75Zahlen");
        row("Alt+E A K Alt+E A M take:12", "12 Sekunden|Start/Weiter|Weiblich ManuellSec 75Zahlen");
        row("Alt+E A M slider:2 Home", "Zeiteinstellung Manuell at 1: 1 Sekunde over lower|main inactive");
        row("mnuManuellSec slider:9 mnuManuellSec", "Zeiteinstellung Manuell at 9: 9 Sekunden over lower|main inactive");
        row("Ctrl+N Alt+E A D Alt+E A M slider:30 cmdWeiter", "20 Sekunden|- 683px|Stop/Weiter|buttons|no pools|Weiblich 20Sec 75Zahlen|every 30000 ms|Zeiteinstellung Manuell at 30: 30 Sekunden over lower|main inactive");
        row("Ctrl+N Alt+E A D Alt+E A M slider:30 close cmdWeiter", "20 Sekunden|- 683px|Stop/Weiter|buttons|no pools|Weiblich 20Sec 75Zahlen|every 20000 ms");
        row("Alt+E A M slider:30 close Alt+E A M", "Zeiteinstellung Manuell at 1:  over lower|main inactive");
        // A fixed item chosen while the dialog is open stays when its close
        // box undoes the slider, before and while calling runs.
        row("Ctrl+N mnuManuellSec slider:30 mnu5Sec close cmdWeiter", "5 Sekunden|- 683px|Stop/Weiter|buttons|no pools|Weiblich 5Sec 75Zahlen|every 5000 ms");
        row("Ctrl+N mnuManuellSec mnu10Sec close cmdWeiter", "10 Sekunden|- 683px|Stop/Weiter|buttons|no pools|Weiblich 10Sec 75Zahlen|every 10000 ms");
        row("Ctrl+N mnuManuellSec mnu20Sec slider:7 close cmdWeiter", "20 Sekunden|- 683px|Stop/Weiter|buttons|no pools|Weiblich 20Sec 75Zahlen|every 20000 ms");
        row("Ctrl+N mnuManuellSec mnu5Sec cmdWeiter tick close tick", "5 Sekunden|2 von 75|# 683px|Stop/Weiter|buttons|no pools|Weiblich 5Sec 75Zahlen|2 green|every 5000 ms");
        row("Ctrl+N mnu20Sec cmdWeiter mnuManuellSec mnu10Sec tick close tick", "10 Sekunden|2 von 75|# 683px|Stop/Weiter|buttons|no pools|Weiblich 10Sec 75Zahlen|2 green|every 10000 ms");
        row("Ctrl+N mnu5Sec cmdWeiter mnuManuellSec slider:40 tick mnu20Sec close", "20 Sekunden|1 von 75|# 683px|Start/Weiter|buttons|no pools|Weiblich 20Sec 75Zahlen|1 green|every 20000 ms");
        // Help and about open once; closing help brings the main window back.
        row("Alt+? H mnuHelpIt look close", "Anleitung und Hilfe|main inactive ; ");
        row("Alt+? Ü mnuOverMe", "Information|main inactive");
        // The interval dialog stands beside the main window where a side has
        // room, else over it; on the screen, never in its corner by default.
        row("main:100,200,640,480 mnuManuellSec", "Zeiteinstellung Manuell at 1:  right|main inactive");
        row("main:600,300,680,500 mnuManuellSec", "Zeiteinstellung Manuell at 1:  left|main inactive");
    }
    void window()
    {
        QFETCH(QString, doing);
        QFETCH(QString, seen);
        Harness h;
        int answer = kAnswerNo;
        h.f.messages.responder = [&](const ShownBox &) { return answer; };
        // While a number or "Bingo!" is heard, the window has painted it and the count.
        QStringList unpainted;
        h.f.sound.onPlay = [&](const QByteArray &) {
            const CallerView &v = h.caller.view();
            const QString number = QString::number(h.caller.order()[size_t(v.shownCount)]);
            const QString called = v.claim.phase == ClaimPhase::Called ? QStringLiteral("Bingo!") : number;
            if (h.w().isVisible() && (!paints(h.w(), child<QLabel>(h.w(), "lblZahlenfeld"), called)
                                      || !paints(h.w(), child<QLabel>(h.w(), "lblAnzahlZahlen"), QString::number(v.shownCount))))
                unpainted << called;
        };
        h.w().setGeometry(h.w().screen()->availableGeometry()); // as the program shows it
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        QStringList looks; // "look" notes what is seen so far
        for (const QString &word : doing.split(' ', Qt::SkipEmptyParts))
            for (int i = 0; i < word.section('*', 1).toInt() || i == 0; ++i, QCoreApplication::processEvents())
                word == "look" ? void(looks << ::seen(h)) : act(h, word.section('*', 0, 0), answer);
        flushDeletes();
        // Part by part: a failure names the first part that differs.
        const QStringList is = (looks << ::seen(h)).join(" ; ").split('|'), want = seen.split('|');
        QCOMPARE(is.mid(0, want.size()), want.mid(0, is.size()));
        QCOMPARE(is.size(), want.size());
        QCOMPARE(unpainted, QStringList());
        QVERIFY(h.w().windowTitle().startsWith(productWithVersion() + "          "));
    }

    // The check sheet's number buttons, its colours exactly as set, the
    // legend swatches too; its close box only hides it, marks and all.
    void checkSheet()
    {
        Harness h;
        h.caller.choosePool(Pool::Of90);
        h.sheet.showMarks(std::bitset<91>().set(7).set(90));
        h.sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.sheet));
        const QImage img = h.sheet.grab().toImage();
        QStringList colours; // a point inside the button but off its caption
        for (int n : {7, 90, 8, 91, 0})
            colours << img.pixelColor(h.sheet.cmdZahl(n)->geometry().topLeft() + QPoint(3, 3)).name();
        QCOMPARE(colours, QStringList({"#80ff80", "#80ff80", "#ff0000", "#80ff80", "#ff0000"}));
        for (int n = 1; n <= 90; ++n)
            QCOMPARE(h.sheet.cmdZahl(n)->text(), QString::number(n));
        QTest::mouseClick(h.sheet.cmdZahl(13), Qt::LeftButton); // does nothing
        QVERIFY(!h.sheet.close() && !h.sheet.isVisible());
        h.sheet.show();
        QCOMPARE(h.sheet.shownNumbers(), (QList<int>{7, 90}));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
