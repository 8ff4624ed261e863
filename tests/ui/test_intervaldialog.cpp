// The manual interval dialog: a fresh slider at 1 on every opening, the
// seconds text, taking the value, closing without it, and one instance only.
#include "helpers.h"

#include "ui/interval/intervaldialog.h"

#include <QApplication>
#include <QPointer>
#include <QSlider>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

const QStringList kStepping = {QStringLiteral("mnuManuell"), QStringLiteral("mnu5Sec"),
                               QStringLiteral("mnu10Sec"), QStringLiteral("mnu20Sec"),
                               QStringLiteral("mnuManuellSec")};

// A window with a game begun, as every case here needs.
struct Window : Harness {
    Window() { trigger(QStringLiteral("mnuNew")); }
    QStringList steppingMarks() const { return checked(kStepping); }
    IntervalDialog *open()
    {
        trigger(QStringLiteral("mnuManuellSec"));
        return w().intervalDialog();
    }
};

QSlider *slider(IntervalDialog *d)
{
    return d->findChild<QSlider *>(QStringLiteral("sldZeitinterval"));
}
QString seconds(IntervalDialog *d)
{
    return d->findChild<QLabel *>(QStringLiteral("lblSekundenAnzeige"))->text();
}
void take(IntervalDialog *d)
{
    click(*d, QStringLiteral("cmdZurück"));
}
// A closed dialog is deleted once the event loop gets to it.
void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
int openDialogs()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<IntervalDialog *>(w) && w->isVisible())
            ++n;
    return n;
}

} // namespace

class TestIntervalDialog : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { flushDeletes(); }

    void opensAtOneEveryTime_data();
    void opensAtOneEveryTime();
    void takeValue_data();
    void takeValue();
    void keyboardSteps_data();
    void keyboardSteps();
    void closeWithoutTaking_data();
    void closeWithoutTaking();
    void secondOpeningBringsSameDialog();
    void sliderChangesRunningPeriod();
};

void TestIntervalDialog::opensAtOneEveryTime_data()
{
    QTest::addColumn<QString>("inForce"); // interval item chosen before
    QTest::addColumn<int>("moveTo");
    QTest::addColumn<bool>("taken");

    QTest::newRow("20 s in force, closed at 30") << "mnu20Sec" << 30 << false;
    QTest::newRow("taken at 45") << "mnuManuell" << 45 << true;
    QTest::newRow("taken at 1") << "mnu5Sec" << 1 << true;
}

void TestIntervalDialog::opensAtOneEveryTime()
{
    QFETCH(QString, inForce);
    QFETCH(int, moveTo);
    QFETCH(bool, taken);

    Window h;
    h.trigger(inForce);
    for (int round = 0; round < 3; ++round) {
        QPointer<IntervalDialog> d = h.open();
        QVERIFY(d);
        QVERIFY(d->isVisible());
        QCOMPARE(d->windowTitle(), QStringLiteral("Kugelfon 1.1 - Zeiteinstellung Manuell"));
        QCOMPARE(slider(d)->value(), 1);
        QCOMPARE(slider(d)->minimum(), 1);
        QCOMPARE(slider(d)->maximum(), 60);
        QVERIFY(seconds(d).isEmpty());
        slider(d)->setValue(moveTo);
        if (taken)
            take(d);
        else
            QVERIFY(d->close());
        flushDeletes();
        QVERIFY2(d.isNull(), "a closed dialog must be discarded");
        QVERIFY(!h.w().intervalDialog());
    }
}

// The text follows the slider at once; taking it switches to automatic
// stepping with that period.
void TestIntervalDialog::takeValue_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("ms");

    QTest::newRow("1") << 1 << "1 Sekunde" << 1000;
    QTest::newRow("2") << 2 << "2 Sekunden" << 2000;
    QTest::newRow("5 like the menu item") << 5 << "5 Sekunden" << 5000;
    QTest::newRow("7") << 7 << "7 Sekunden" << 7000;
    QTest::newRow("10 like the menu item") << 10 << "10 Sekunden" << 10000;
    QTest::newRow("20 like the menu item") << 20 << "20 Sekunden" << 20000;
    QTest::newRow("59") << 59 << "59 Sekunden" << 59000;
    QTest::newRow("60") << 60 << "60 Sekunden" << 60000;
}

void TestIntervalDialog::takeValue()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QFETCH(int, ms);

    Window h;
    QPointer<IntervalDialog> d = h.open();
    QCOMPARE(h.steppingMarks(), QStringList{QStringLiteral("mnuManuell")});
    if (value != 1) { // at 1 the value is taken untouched
        slider(d)->setValue(value);
        QCOMPARE(seconds(d), text);
        QCOMPARE(double(h.settings.intervalSeconds), double(value)); // before taking
        QCOMPARE(qint16(h.settings.stepping), qint16(1));
    }
    take(d);
    QVERIFY(!d || !d->isVisible());
    QCOMPARE(double(h.settings.intervalSeconds), double(value));
    QCOMPARE(qint16(h.settings.stepping), qint16(2));
    QCOMPARE(h.steppingMarks(), QStringList{QStringLiteral("mnuManuellSec")});
    QCOMPARE(h.text("lblModusSchalten"), text);
    QCOMPARE(h.caption(), QStringLiteral("Start"));
    QVERIFY(!h.autoTimer()->isEnabled());

    h.press();
    QCOMPARE(h.caption(), QStringLiteral("Stop"));
    QVERIFY(h.autoTimer()->isEnabled());
    QCOMPARE(h.autoTimer()->interval(), ms);
}

void TestIntervalDialog::keyboardSteps_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("right") << QList<int>{Qt::Key_Right} << 2 << "2 Sekunden";
    QTest::newRow("page up") << QList<int>{Qt::Key_PageUp} << 6 << "6 Sekunden";
    QTest::newRow("page up twice, left") << QList<int>{Qt::Key_PageUp, Qt::Key_PageUp, Qt::Key_Left}
                                         << 10 << "10 Sekunden";
    QTest::newRow("end") << QList<int>{Qt::Key_End} << 60 << "60 Sekunden";
    QTest::newRow("end, home") << QList<int>{Qt::Key_End, Qt::Key_Home} << 1 << "1 Sekunde";
    QTest::newRow("left stops at 1") << QList<int>{Qt::Key_Left} << 1 << "";
}

void TestIntervalDialog::keyboardSteps()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, value);
    QFETCH(QString, text);

    Window h;
    IntervalDialog *d = h.open();
    for (int key : keys)
        QTest::keyClick(slider(d), Qt::Key(key));
    QCOMPARE(slider(d)->value(), value);
    QCOMPARE(seconds(d), text);
    QCOMPARE(double(h.settings.intervalSeconds), text.isEmpty() ? 0.0 : double(value));
}

// Closing without taking puts back the interval that was in force when the
// dialog opened, so the next "Start" steps at what the status row says.
void TestIntervalDialog::closeWithoutTaking_data()
{
    QTest::addColumn<QString>("inForce");
    QTest::addColumn<int>("moveTo"); // 0: slider not moved
    QTest::addColumn<double>("interval");
    QTest::addColumn<int>("ms");     // period after "Start"; 0: manual stepping stays

    QTest::newRow("10 s in force, moved to 30") << "mnu10Sec" << 30 << 10.0 << 10000;
    QTest::newRow("5 s in force, moved to 60") << "mnu5Sec" << 60 << 5.0 << 5000;
    QTest::newRow("manual, moved to 30") << "mnuManuell" << 30 << 0.0 << 0;
}

void TestIntervalDialog::closeWithoutTaking()
{
    QFETCH(QString, inForce);
    QFETCH(int, moveTo);
    QFETCH(double, interval);
    QFETCH(int, ms);

    Window h;
    h.trigger(inForce);
    const QStringList marks = h.steppingMarks();
    const QString status = h.text("lblModusSchalten");
    const QString caption = h.caption();
    const qint16 mode = qint16(h.settings.stepping);

    QPointer<IntervalDialog> d = h.open();
    if (moveTo)
        slider(d)->setValue(moveTo);
    QVERIFY(d->close());
    flushDeletes();
    QVERIFY(d.isNull());

    QCOMPARE(h.steppingMarks(), marks);
    QCOMPARE(h.text("lblModusSchalten"), status);
    QCOMPARE(h.caption(), caption);
    QCOMPARE(qint16(h.settings.stepping), mode);
    QCOMPARE(double(h.settings.intervalSeconds), interval);

    h.press();
    if (ms == 0) { // still manual: the press shows a number
        QCOMPARE(h.caption(), QStringLiteral("Weiter"));
        QCOMPARE(h.merker(), 1);
        QVERIFY(!h.autoTimer()->isEnabled());
    } else {
        QCOMPARE(h.caption(), QStringLiteral("Stop"));
        QCOMPARE(h.autoTimer()->interval(), ms);
        QCOMPARE(h.text("lblModusSchalten"), status);
    }
}

void TestIntervalDialog::secondOpeningBringsSameDialog()
{
    Window h;
    IntervalDialog *first = h.open();
    slider(first)->setValue(12);

    QCOMPARE(h.open(), first);
    QCOMPARE(slider(first)->value(), 12);
    QCOMPARE(openDialogs(), 1);

    first->hide(); // minimised or behind: the item shows the same one again
    QCOMPARE(h.open(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(slider(first)->value(), 12);
    QCOMPARE(seconds(first), QStringLiteral("12 Sekunden"));
    QCOMPARE(openDialogs(), 1);

    // The main window stays usable while the dialog is open.
    h.press();
    QCOMPARE(h.merker(), 1);
    take(first);
    QCOMPARE(h.text("lblModusSchalten"), QStringLiteral("12 Sekunden"));
}

// Each automatic step reads the interval afresh, so the slider alone changes
// the period of a running game from its next step on.
void TestIntervalDialog::sliderChangesRunningPeriod()
{
    Window h;
    h.trigger(QStringLiteral("mnu5Sec"));
    h.press();
    QVERIFY(h.autoTimer()->tick());
    IntervalDialog *d = h.open();
    slider(d)->setValue(7);
    QCOMPARE(h.autoTimer()->interval(), 5000);
    QVERIFY(h.autoTimer()->tick());
    QCOMPARE(h.autoTimer()->interval(), 7000);
    QCOMPARE(h.caption(), QStringLiteral("Stop"));
    QCOMPARE(h.text("lblModusSchalten"), QStringLiteral("5 Sekunden"));
    QCOMPARE(h.steppingMarks(), QStringList{QStringLiteral("mnu5Sec")});
}

QTEST_MAIN(TestIntervalDialog)
#include "test_intervaldialog.moc"
