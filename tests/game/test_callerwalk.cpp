// The random walk of callerwalk.h: long on the caller alone, short through
// the main window's widgets, where the window and the check sheet must show
// what the caller publishes.
#include "tests/game/callerwalk.h"
#include "tests/ui/helpers.h"

#include "ui/interval/intervaldialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>

using namespace kugelfon;
using namespace kugelfon::test;

#ifndef KUGELFON_WALK_ACTIONS
#define KUGELFON_WALK_ACTIONS 1000000
#endif

namespace {

const char *const kCaptions[] = {"Weiter", "Start", "Stop", "Pause"};
const char *const kStepping[] = {"mnuManuell", "mnu5Sec", "mnu10Sec", "mnu20Sec", "mnuManuellSec"};

// What the window and the sheet show against what the caller publishes.
QString windowDisagrees(Harness &h)
{
    const CallerView &v = h.caller->view();
    const bool male = h.settings.voice == Voice::Male, ninety = h.settings.pool == Pool::Of90;
    QPushButton *step = h.button("cmdWeiter");
    const QStringList seen = {
        h.display(), h.text("lblAnzahlZahlen"), step->text(), step->toolTip(),
        QString::number(step->isEnabled() && h.button("cmdBingo")->isEnabled()
                        && h.button("cmdZahlenTafel")->isEnabled()),
        h.pools(), h.text("lblletzteModusZahl"), h.text("lblStimmenModus"),
        h.checked({"mnuWeiblich", "mnuMännlich", "mnu75Zahlen", "mnu90Zahlen"}).join(' '),
        h.checked({"mnuManuell", "mnu5Sec", "mnu10Sec", "mnu20Sec", "mnuManuellSec"}).join(' '),
        QString::number(v.displayPoints > 0 ? QFontInfo(label(h.w(), "lblZahlenfeld")->font()).pixelSize() : 0)};
    const QStringList want = {
        v.display, v.shownCount ? QString::number(v.shownCount) : QString(),
        kCaptions[int(v.stepButton)], kCaptions[int(v.stepToolTip)],
        QString::number(v.gameButtonsEnabled), v.poolChoiceEnabled ? "pools" : "no pools",
        ninety ? "90" : "75", male ? "Männlich" : "Weiblich",
        QStringLiteral("%1 %2").arg(male ? "mnuMännlich" : "mnuWeiblich",
                                    ninety ? "mnu90Zahlen" : "mnu75Zahlen"),
        // drawn as at 96 dpi
        kStepping[int(v.steppingChoice)], QString::number(v.displayPoints > 0 ? std::lround(v.displayPoints * 4 / 3) : 0)};
    if (seen != want)
        return QStringLiteral("window shows [%1], caller [%2]").arg(seen.join('|'), want.join('|'));
    QList<int> marked;
    for (int n = 1; n <= 90; ++n)
        if (v.marked.test(size_t(n)))
            marked.append(n);
    if (h.shown() != marked)
        return QStringLiteral("sheet shows %1 green, caller marks %2")
            .arg(h.shown().size())
            .arg(marked.size());
    return {};
}

// The walk's actions done with the widgets; the other windows are closed
// again at once.
void throughWidgets(Harness &h, CallerWalk &walk, WalkAct act, int arg)
{
    static const QList<QStringList> widgets = {
        {"cmdWeiter"}, {"cmdBingo"}, {"mnuNew"}, {"mnuCloseAll", "close box"},
        {"mnuWeiblich", "mnuMännlich"}, {"mnuManuell"}, {"mnu5Sec", "mnu10Sec", "mnu20Sec"},
        {"mnuManuellSec"}, {"slider"}, {"take"}, {"dialog close"}, {"mnu75Zahlen", "mnu90Zahlen"},
        {"tick"}, {"letter"}, {"burst"}, {"cmdZahlenTafel"}, {"sheet back", "sheet close"},
        {"mnuDrucken", "mnuHelpIt", "mnuOverMe"}};
    const QStringList &choices = widgets[int(act)];
    const QString what = choices[arg % choices.size()];
    IntervalDialog *dialog = h.w().intervalDialog();
    if (what.startsWith("mnu") && h.action(what)->isEnabled())
        h.trigger(what);
    else if (what.startsWith("cmd"))
        QTest::mouseClick(h.button(what), Qt::LeftButton);
    else if (what == "close box")
        h.w().close();
    else if (what == "tick" || what == "letter")
        (what == "tick" ? h.autoTimer() : h.zeitUni())->tick();
    else if (what == "slider" && dialog)
        dialog->slider()->setValue(arg + 1);
    else if (what == "take" && dialog) {
        ++walk.taken;
        click(*dialog, "cmdZurück");
    }
    else if (what == "dialog close" && dialog)
        dialog->close();
    else if (what == "sheet back" && h.sheet().isVisible())
        click(h.sheet(), "cmdZurück");
    else if (what == "sheet close")
        h.sheet().close();
    if (act == WalkAct::Other) {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top != &h.w() && top != &h.sheet() && !qobject_cast<IntervalDialog *>(top)
                && top->isVisible() && !top->inherits("QMenu"))
                top->close();
        h.w().show();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QtMessageHandler g_previousHandler = nullptr;

// The offscreen platform warns on every raise(); that is noise here.
void dropPlatformNoise(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtWarningMsg || !text.startsWith(QLatin1String("This plugin does not support")))
        g_previousHandler(type, context, text);
}

} // namespace

class TestCallerWalk : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(dropPlatformNoise); }

    void onTheCaller_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 20260u, 75u, 90909u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void onTheCaller()
    {
        QFETCH(quint32, seed);
        const qint64 actions = KUGELFON_WALK_ACTIONS / 4;
        CallerWalk walk(seed);
        CallerOnFakes game(walk);
        walk.attach(*game.caller, game.f);
        QElapsedTimer clock;
        clock.start();
        const QString fault = walk.run(actions);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        // The walk reached the deep states it is meant to exercise.
        QVERIFY(walk.endsOfPool > 0 && walk.questions > 0 && walk.quitQuestions > 0);
        QVERIFY(walk.ticksBehindBoxes > 0 && walk.taken > 0);
        qInfo("%lld actions in %lld ms: %d ends of pool, %d continue and %d quit questions, "
              "%d ticks behind boxes, %lld announcements",
              actions, clock.elapsed(), walk.endsOfPool, walk.questions, walk.quitQuestions,
              walk.ticksBehindBoxes, walk.announced);
    }

    void throughTheWindow_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::newRow("seed 7") << 7u;
        QTest::newRow("seed 2026") << 2026u;
    }
    void throughTheWindow()
    {
        QFETCH(quint32, seed);
        CallerWalk walk(seed);
        Harness h([&](Services &s) { s.sound = &walk; });
        // Painting is not under test; without it no repaint piles up.
        h.w().setUpdatesEnabled(false);
        h.sheet().setUpdatesEnabled(false);
        walk.attach(*h.caller, h.f);
        walk.perform = [&](WalkAct act, int arg) { throughWidgets(h, walk, act, arg); };
        int actions = 0;
        walk.alsoCheck = [&] {
            if (++actions % 1024 == 0)
                QCoreApplication::processEvents();
            return windowDisagrees(h);
        };
        const QString fault = walk.run(10000);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QVERIFY(walk.endsOfPool > 0 && walk.questions > 0 && walk.quitQuestions > 0 && walk.taken > 0);
    }
};

QTEST_MAIN(TestCallerWalk)
#include "test_callerwalk.moc"
