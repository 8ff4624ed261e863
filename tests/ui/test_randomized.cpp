// A long random walk through the main window from fixed seeds: every button,
// every menu item, ticks of both timers, the interval dialog, answers to
// whatever box is open and ticks behind open boxes. After each action the
// game must be consistent.
#include "helpers.h"

#include "ui/interval/intervaldialog.h"

#include <QApplication>
#include <QSlider>

#include <random>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

const QString kBingoWord = QStringLiteral("Bingo!");

enum Action {
    PressWeiter,
    PressBingo,
    PressZahlenTafel,
    TickAuto,
    TickZeitUni,
    SheetBack,
    SheetClose,
    MainClose,
    Menu, // one of the menu items, chosen evenly
    DialogSlider,
    DialogKey,
    DialogTake,
    DialogClose,
    Burst, // a run of steps or ticks, so that pools get used up
    ActionCount
};

// Relative frequencies: steps and ticks dominate so that games run to the
// end of the pool and claims run to the question.
constexpr int kWeights[ActionCount] = {24, 3, 2, 24, 18, 1, 1, 1, 12, 3, 1, 1, 1, 2};

const char *const kMenus[] = {"mnuNew",    "mnuDrucken",  "mnuCloseAll",   "mnuWeiblich",
                              "mnuMännlich", "mnuManuell", "mnu5Sec",       "mnu10Sec",
                              "mnu20Sec",  "mnuManuellSec", "mnu75Zahlen", "mnu90Zahlen",
                              "mnuHelpIt", "mnuOverMe"};

class Walk {
public:
    explicit Walk(quint32 seed) : m_rng(seed), m_dist(std::begin(kWeights), std::end(kWeights))
    {
        // Painting is not under test; without it no repaint piles up between
        // the rare moments the event queue is drained.
        m_w.setUpdatesEnabled(false);
        m_weiter = m_w.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
        m_bingo = m_w.findChild<QPushButton *>(QStringLiteral("cmdBingo"));
        m_tafel = m_w.findChild<QPushButton *>(QStringLiteral("cmdZahlenTafel"));
        m_display = m_w.findChild<QLabel *>(QStringLiteral("lblZahlenfeld"));
        m_count = m_w.findChild<QLabel *>(QStringLiteral("lblAnzahlZahlen"));
        for (const char *name : kMenus)
            m_menus.append(m_w.findChild<QAction *>(QString::fromUtf8(name)));
        m_sheet = &m_h.sheet();
        m_sheet->setUpdatesEnabled(false);
        m_sheetBack = m_sheet->findChild<QPushButton *>(QStringLiteral("cmdZurück"));
        m_auto = m_f.timers.timer(QStringLiteral("AutoTimer"));
        m_zeitUni = m_f.timers.timer(QStringLiteral("ZeitUni"));
        m_f.messages.responder = [this](const ShownBox &box) { return answer(box); };
    }

    // Runs the actions; returns an empty string or the first inconsistency.
    QString run(int actions)
    {
        for (int i = 0; i < actions; ++i) {
            const QString done = act();
            if (m_history.size() == 12)
                m_history.removeFirst();
            m_history.append(done);
            const QString fault = check();
            if (!fault.isEmpty())
                return QStringLiteral("after action %1: %2; last actions: %3")
                    .arg(i)
                    .arg(fault, m_history.join(QStringLiteral(", ")));
            if ((i & 1023) == 0) {
                QCoreApplication::processEvents();
                // The fakes keep a record of everything; keep it short.
                m_f.sound.played.clear();
                m_f.resources.requested.clear();
                m_f.messages.shown.clear();
            }
        }
        return {};
    }

    // How often the deep states were reached, to show the walk got there.
    int endsOfPool = 0;
    int questions = 0;
    int quitQuestions = 0;
    int ticksBehindBoxes = 0;
    int takenIntervals = 0;
    int maxMerker = 0;

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    void tickOne()
    {
        FakeTimer *t = pick(2) ? m_auto : m_zeitUni;
        t->tick();
    }

    int answer(const ShownBox &box)
    {
        // Ticks that fall due while the box waits run now, a few levels deep.
        if (m_depth < 3) {
            ++m_depth;
            const int ticks = pick(4);
            for (int i = 0; i < ticks; ++i) {
                tickOne();
                ++ticksBehindBoxes;
            }
            --m_depth;
        }
        if (box.text == kQuit) {
            ++quitQuestions;
            return kAnswerNo; // Yes would end the program
        }
        if (box.text == kEndOfPool) {
            ++endsOfPool;
            return kAnswerOk;
        }
        ++questions;
        return pick(2) ? kAnswerYes : kAnswerNo;
    }

    QString act()
    {
        IntervalDialog *dialog = m_w.intervalDialog();
        int kind = m_dist(m_rng);
        if (m_burst > 0) {
            --m_burst;
            kind = m_burstKind;
        }
        switch (kind) {
        case PressWeiter:
            QTest::mouseClick(m_weiter, Qt::LeftButton);
            return QStringLiteral("Weiter");
        case PressBingo:
            QTest::mouseClick(m_bingo, Qt::LeftButton);
            return QStringLiteral("Bingo");
        case PressZahlenTafel:
            QTest::mouseClick(m_tafel, Qt::LeftButton);
            return QStringLiteral("Zahlentafel");
        case TickAuto:
            return m_auto->tick() ? QStringLiteral("AutoTimer") : QStringLiteral("(AutoTimer)");
        case TickZeitUni:
            return m_zeitUni->tick() ? QStringLiteral("ZeitUni") : QStringLiteral("(ZeitUni)");
        case SheetBack:
            if (m_sheet->isVisible())
                QTest::mouseClick(m_sheetBack, Qt::LeftButton);
            return QStringLiteral("sheet back");
        case SheetClose:
            m_sheet->close();
            return QStringLiteral("sheet close");
        case MainClose:
            m_w.close();
            return QStringLiteral("close box");
        case Menu: {
            QAction *a = m_menus[pick(m_menus.size())];
            if (a->isEnabled()) // a disabled item cannot be chosen
                a->trigger();
            static const QStringList opensWindow = {QStringLiteral("mnuDrucken"),
                                                    QStringLiteral("mnuHelpIt"),
                                                    QStringLiteral("mnuOverMe")};
            if (opensWindow.contains(a->objectName()))
                closeStrayWindows();
            return a->objectName();
        }
        case DialogSlider:
            if (dialog)
                dialog->slider()->setValue(1 + pick(60));
            return QStringLiteral("slider");
        case DialogKey:
            if (dialog) {
                static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp,
                                               Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
                QTest::keyClick(dialog->slider(), keys[pick(6)]);
            }
            return QStringLiteral("slider key");
        case DialogTake:
            if (dialog) {
                QTest::mouseClick(
                    dialog->findChild<QPushButton *>(QStringLiteral("cmdZurück")),
                    Qt::LeftButton);
                ++takenIntervals;
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            return QStringLiteral("take");
        case DialogClose:
            if (dialog) {
                dialog->close();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            return QStringLiteral("dialog close");
        case Burst:
            m_burst = 10 + pick(80);
            m_burstKind = pick(2) ? PressWeiter : TickAuto;
            return QStringLiteral("burst of %1").arg(m_burst);
        default:
            return QStringLiteral("?");
        }
    }

    // Windows of other parts (help, about, printing) are closed again at once,
    // and a hidden main window is shown again, so every action stays cheap.
    void closeStrayWindows()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w == &m_w || w == m_sheet || qobject_cast<IntervalDialog *>(w) || !w->isVisible())
                continue;
            if (w->isWindow() && !w->inherits("QMenu"))
                w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!m_w.isVisible())
            m_w.show();
    }

    QString check()
    {
        const Caller &c = *m_h.caller;
        struct {
            const NumberOrder &Zahlenfolge;
            int BZahl;
        } g{c.order(), c.bingoLetters()};
        if (m_f.messages.open != 0)
            return QStringLiteral("a box is still open");
        const int size = poolSize(m_h.settings.pool);
        const int m = c.count();
        maxMerker = std::max(maxMerker, m);

        bool started = false;
        for (int i = 0; i <= 90; ++i)
            started = started || g.Zahlenfolge[size_t(i)] != 0;
        if (g.Zahlenfolge[0] != 0)
            return QStringLiteral("entry 0 used");
        if (started) {
            std::array<bool, 91> seen{};
            for (int i = 1; i <= 90; ++i) {
                const int v = g.Zahlenfolge[size_t(i)];
                if (i > size) {
                    if (v != 0)
                        return QStringLiteral("entry %1 beyond the pool is %2").arg(i).arg(v);
                    continue;
                }
                if (v < 1 || v > size || seen[size_t(v)])
                    return QStringLiteral("order is no permutation of 1..%1 at %2")
                        .arg(size)
                        .arg(i);
                seen[size_t(v)] = true;
            }
        }
        if (m < 0 || m > size || (!started && m != 0))
            return QStringLiteral("MerkerZahl %1 with pool %2").arg(m).arg(size);

        // The sheet shows the drawn numbers of this game, or all of the game
        // that has just ended. "Weiter" after the end of the pool replays the
        // ended game's order without a new game, so all stay green then too.
        const QList<int> green = m_sheet->shownNumbers();
        if (green != m_h.firstOfOrder(m) && green != m_h.firstOfOrder(size))
            return QStringLiteral("sheet shows %1 numbers, %2 drawn").arg(green.size()).arg(m);

        const QString caption = m_weiter->text();
        if (caption != QLatin1String("Weiter") && caption != QLatin1String("Start")
            && caption != QLatin1String("Stop") && caption != QLatin1String("Pause"))
            return QStringLiteral("caption '%1'").arg(caption);
        if (m_count->text() != (m == 0 ? QString() : QString::number(m)))
            return QStringLiteral("count '%1' for %2").arg(m_count->text()).arg(m);

        const QString shown = m_display->text();
        const bool isNumber = m >= 1 && shown == QString::number(g.Zahlenfolge[size_t(m)]);
        const bool isLetters = !shown.isEmpty() && shown.size() < kBingoWord.size()
            && kBingoWord.startsWith(shown);
        if (!shown.isEmpty() && !isNumber && !isLetters)
            return QStringLiteral("display '%1' at %2").arg(shown).arg(m);

        // The claim is idle or typing, and typing always has its timer armed.
        if (g.BZahl < 0 || g.BZahl > 6)
            return QStringLiteral("BZahl %1 between actions").arg(g.BZahl);
        const bool typing = g.BZahl >= 1;
        if (m_zeitUni->isEnabled() != typing || (typing && m_zeitUni->interval() != 20))
            return QStringLiteral("ZeitUni %1 with BZahl %2")
                .arg(m_zeitUni->isEnabled())
                .arg(g.BZahl);
        if (!m_weiter->isEnabled() && started)
            return QStringLiteral("step button disabled during a game");
        return {};
    }

    Harness m_h;
    FakeServices &m_f = m_h.f;
    MainWindow &m_w = m_h.w();
    std::mt19937 m_rng;
    std::discrete_distribution<int> m_dist;
    int m_depth = 0;
    int m_burst = 0;
    int m_burstKind = PressWeiter;
    QStringList m_history;

    QPushButton *m_weiter = nullptr;
    QPushButton *m_bingo = nullptr;
    QPushButton *m_tafel = nullptr;
    QPushButton *m_sheetBack = nullptr;
    QLabel *m_display = nullptr;
    QLabel *m_count = nullptr;
    QList<QAction *> m_menus;
    CheckSheet *m_sheet = nullptr;
    FakeTimer *m_auto = nullptr;
    FakeTimer *m_zeitUni = nullptr;
};

} // namespace

static QtMessageHandler g_previousHandler = nullptr;

// The offscreen platform warns on every raise(); that is noise here.
static void dropPlatformNoise(QtMsgType type, const QMessageLogContext &context,
                              const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    g_previousHandler(type, context, text);
}

class TestRandomized : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(dropPlatformNoise); }
    void cleanupTestCase() { qInstallMessageHandler(g_previousHandler); }
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void walk_data();
    void walk();
};

void TestRandomized::walk_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("actions");
    // 4 x 25,000 = 100,000 actions in all.
    QTest::newRow("seed 1") << 1u << 25000;
    QTest::newRow("seed 20260") << 20260u << 25000;
    QTest::newRow("seed 75") << 75u << 25000;
    QTest::newRow("seed 90909") << 90909u << 25000;
}

void TestRandomized::walk()
{
    QFETCH(quint32, seed);
    QFETCH(int, actions);

    QElapsedTimer clock;
    clock.start();
    Walk walk(seed);
    const QString fault = walk.run(actions);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));

    // The walk reached the deep states it is meant to exercise.
    QVERIFY(walk.endsOfPool > 0);
    QVERIFY(walk.questions > 0);
    QVERIFY(walk.quitQuestions > 0);
    QVERIFY(walk.ticksBehindBoxes > 0);
    QVERIFY(walk.takenIntervals > 0);
    qInfo("seed %u: %d ends of pool, %d continue questions, %d quit questions, %d ticks behind "
          "boxes, %d intervals taken, %d ms",
          seed, walk.endsOfPool, walk.questions, walk.quitQuestions, walk.ticksBehindBoxes,
          walk.takenIntervals, int(clock.elapsed()));
}

QTEST_MAIN(TestRandomized)
#include "test_randomized.moc"
