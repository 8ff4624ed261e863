// The program as its options start it: the hall display (--saalanzeige), a window
// on any screen (--fenster), the answers on the command line.
#include "fakes/fakes.h"
#include "fakes/testkit.h"

#include "app/program.h"
#include "platform/qt/qtscreenlist.h"
#include "platform/qt/qtscreenmetrics.h"
#include "ui/hall/halldisplay.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"

#include <QAccessible>
#include <QAction>
#include <QBackingStore>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLockFile>
#include <QScreen>
#include <QtTest>
#include <qpa/qplatformbackingstore.h>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>
#include <random>
#ifdef Q_OS_UNIX
#include <csignal>
#endif

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

// Offscreen screen a (1280 x 1024) alone, or a and b (1920 x 1080) on its
// right; a stays the primary.
void plug(bool second)
{
    QJsonArray screens{QJsonObject{{"name", "a"}, {"width", 1280}, {"height", 1024}}};
    if (second)
        screens.append(QJsonObject{{"name", "b"}, {"x", 1280}, {"width", 1920}, {"height", 1080}});
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    const auto set = reinterpret_cast<void (*)(const QJsonObject &, QPlatformNativeInterface *)>(
        native->nativeResourceForIntegration("setConfiguration"));
    set(QJsonObject{{"screens", screens}}, native);
    QCoreApplication::processEvents();
}

// What the window shows right now: the offscreen screen shows its backing store.
QImage onScreen(const QWidget &w, const QRect &part = QRect())
{
    const QImage shown = w.backingStore()->handle()->toImage();
    return part.isNull() ? shown : shown.copy(part);
}

// The numbers whose cell is bright; a cell neither bright nor dark counts as 0.
QList<int> litCells(const HallDisplay &hall, int pool)
{
    QCoreApplication::processEvents();
    const QImage img = onScreen(hall);
    QList<int> out;
    for (int n = 1; n <= pool; ++n) {
        const QRect r = hall.cellRect(n);
        const int grey = qGray(img.pixel(r.center().x(), r.top() + r.height() / 8 + 1));
        if (grey > 96)
            out << (grey > 160 ? n : 0);
    }
    return out;
}

// The largest difference in one channel.
int apart(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Equal but for the smoothing of edges, which differs with the part painted.
bool looksAlike(QImage a, QImage b)
{
    a.convertTo(QImage::Format_RGB32);
    b.convertTo(QImage::Format_RGB32);
    for (int y = 0; y < a.height() && a.size() == b.size(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        if (std::memcmp(p, q, a.width() * sizeof(QRgb)) == 0)
            continue; // most rows are equal to the bit
        for (int x = 0; x < a.width(); ++x)
            if (apart(p[x], q[x]) > 96)
                return false;
    }
    return a.size() == b.size();
}

// The program after its splash, on the offscreen primary screen or a fake one
// of that size with a panel at the bottom.
struct Started {
    FakeServices fakes;
    QtScreenMetrics realScreen;
    QtScreenList screens;
    std::unique_ptr<Program> program;

    explicit Started(const QStringList &args, const QSize &screen = QSize(), int panel = 0)
    {
        fakes.screen.set(screen.width(), screen.height());
        fakes.screen.m.available.setHeight(screen.height() - panel);
        Services s = fakes.services();
        if (screen.isEmpty())
            s.screen = realScreen;
        s.screens = screens;
        program = std::make_unique<Program>(s, parseStartOptions(QStringList{"kugelfon"} + args));
        program->start();
        tick(TimerRole::Splash);
        QCoreApplication::processEvents();
    }
    MainWindow &main() const { return *program->mainWindow(); }
    QString mainDisplay() const { return child<QLabel>(main(), "lblZahlenfeld")->text(); }
    void click(const char *name) { test::click(main(), name); }
    void menu(const char *name) { main().findChild<QAction *>(name)->trigger(); }
    void tick(TimerRole timer) { fakes.timers.timer(timer)->tick(); }
    // Full-screen and frameless, or a framed window; the main window keeps the focus.
    bool hallOn(const char *screen, bool fullScreen) const
    {
        QCoreApplication::processEvents();
        const HallDisplay &h = *program->hallDisplay();
        const QRect area = h.screen()->geometry();
        return h.isVisible() && h.screen()->name() == screen && h.isFullScreen() == fullScreen
            && h.windowFlags().testFlag(Qt::FramelessWindowHint) == fullScreen
            && (fullScreen ? h.geometry() == area
                           : area.contains(h.geometry()) && h.width() >= 640 && h.height() >= 480
                       && h.windowTitle() == productWithVersion() + " - Saalanzeige")
            && QApplication::activeWindow() == &main();
    }
    // Where each control stands and the size of its type, once a number is
    // shown: one entry per control, so that a difference names it.
    QStringList looks()
    {
        program->caller()->newGame(), program->caller()->pressStep();
        QStringList out;
        for (const auto *c : main().findChildren<QWidget *>(QRegularExpression("^(lbl|frm|cmd)")))
            out << c->objectName() + ' ' + QDebug::toString(c->geometry()) + QString(" %1 px").arg(QFontInfo(c->font()).pixelSize());
        return out;
    }
};

// The program's status (-1: crashed or hung), output and error output without
// a window system, with DISPLAY ":N", Qt platform `display`, or output to "/file".
QStringList run(const QStringList &args, const QString &display = QString(),
                QProcessEnvironment env = withoutDisplay())
{
    QProcess p;
    if (display.startsWith('/'))
        p.setStandardOutputFile(display);
    else if (!display.isEmpty())
        env.insert(display.startsWith(':') ? "DISPLAY" : "QT_QPA_PLATFORM", display);
    p.setProcessEnvironment(env);
    p.start(KUGELFON_EXE, args);
    const bool ended = p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit;
    return {QString::number(ended ? p.exitCode() : -1), QString(p.readAllStandardOutput()),
            QString(p.readAllStandardError())};
}

} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    // As main() does: the fonts the windows ask for mapped onto those at hand
    // (under Wine only the Liberation faces are there).
    void initTestCase() { configureApplication(*qApp); }

    // The hall only with its option: a window on one screen, full-screen on a
    // second one as it comes; its grid, ten numbers lit; a window again when
    // the second goes.
    void hallFollowsTheGameAndScreens()
    {
        plug(false);
        QVERIFY(!Started({"--fenster"}).program->hallDisplay());
        Started s({"--saalanzeige"});
        HallDisplay &hall = *s.program->hallDisplay();
        QVERIFY(s.hallOn("a", false));
        plug(true);
        QTRY_VERIFY(s.hallOn("b", true));
        for (const int pool : {75, 90}) { // rows of 15, then of 10
            s.menu(pool == 90 ? "mnu90Zahlen" : "mnuNew");
            for (int n = 2; n <= pool; ++n)
                QCOMPARE(hall.cellRect(n).top() > hall.cellRect(n - 1).top(), (n - 1) % (pool == 90 ? 10 : 15) == 0);
        }
        QList<int> drawn;
        for (int i = 0; i < 10; ++i, drawn << s.mainDisplay().toInt())
            s.click("cmdWeiter");
        const int latest = drawn.last();
        std::sort(drawn.begin(), drawn.end());
        QCOMPARE(litCells(hall, 90), drawn);
        QCOMPARE(hall.countText(), QStringLiteral("gezeigte Zahlen: 10 von 90"));
        QVERIFY(s.hallOn("b", true));

        // The latest number framed: its cell's edge unlike the other lit ones.
        const QImage img = onScreen(hall);
        auto edge = [&](int n) { return img.pixel(hall.cellRect(n).topLeft() + QPoint(1, 1)); };
        for (int n : drawn)
            QCOMPARE(apart(edge(n), edge(latest)) > 96, n != latest);

        // Screens flapping faster than the settling: the hall never full-screen
        // over the organiser's screen, and back on b within a second.
        const auto over = [&] { return hall.isVisible() && hall.isFullScreen() && hall.screen()->geometry().intersects(s.main().frameGeometry()); };
        const auto overMain = [&] { return QCoreApplication::processEvents(), over(); };
        QElapsedTimer sinceLast;
        for (int round = 0; round < 3; ++round) {
            plug(false);
            QVERIFY(!overMain());
            QTest::qWait(150); // a projector resyncing
            QVERIFY(!overMain());
            plug(true);
            sinceLast.start();
            QVERIFY(!overMain());
        }
        QTRY_VERIFY_WITH_TIMEOUT(s.hallOn("b", true), 1000);
        QVERIFY2(sinceLast.elapsed() < 1000, qPrintable(QString::number(sinceLast.elapsed())));

        // A call holding the window thread: unplugged or plugged while it
        // plays, the hall never over the main window, where it belongs within 0.5 s.
        s.fakes.sound.blockMs = 1300;
        for (const bool second : {false, true}) {
            QElapsedTimer since;
            qint64 followed = -1;
            QTimer watch;
            watch.callOnTimeout([&] {
                QVERIFY(!over());
                if (followed < 0 && since.isValid() && hall.isVisible() && hall.isFullScreen() == second && hall.screen()->name() == (second ? "b" : "a"))
                    followed = since.elapsed();
            });
            watch.start(10);
            QTimer::singleShot(200, [&] { plug(second), since.start(); });
            s.click("cmdWeiter");
            QVERIFY2(followed >= 0 && followed < 500, qPrintable(QString::number(followed)));
        }
        s.fakes.sound.blockMs = 0;
        plug(false);
        QVERIFY(!overMain());
        QTRY_VERIFY(s.hallOn("a", false));
    }

    // Random play: the hall shows the check sheet's numbers and the main
    // window's number, that one already while it is heard; nothing stale.
    void hallAgreesWithCheckSheet()
    {
        plug(false);
        Started s({"--saalanzeige", "--fenster"});
        HallDisplay &hall = *s.program->hallDisplay();
        QTRY_VERIFY(!hall.settling());
        hall.resize(640, 480);
        // What is on the screen is what painting it anew gives.
        const auto fresh = [&](const QRect &part) { return looksAlike(onScreen(hall, part), hall.grab(part).toImage()); };
        int unheard = 0;
        s.fakes.sound.onPlay = [&](const QByteArray &) {
            unheard += hall.numberText() != s.mainDisplay() || !fresh(hall.numberRect());
        };
        std::mt19937 rng(11);
        s.fakes.messages.responder = [&](const ShownBox &) { return rng() % 2 ? kAnswerYes : kAnswerNo; };
        s.menu("mnuNew");
        for (int i = 0; i < 600; ++i) {
            switch (rng() % 40) {
            case 0: s.menu("mnuNew"); break;
            case 1: s.menu(rng() % 2 ? "mnu90Zahlen" : "mnu75Zahlen"); break;
            case 2: s.menu(rng() % 3 ? "mnuManuell" : "mnu5Sec"); break;
            case 3: s.click("cmdBingo"); break;
            case 4: for (int k = 0; k < 80; ++k) s.click("cmdWeiter"); break; // a game to its end
            case 5: case 6: case 7: s.tick(TimerRole::BingoLetters); break;
            case 8: case 9: case 10: case 11: case 12: case 13: case 14: case 15: s.tick(TimerRole::AutoStep); break;
            default: s.click("cmdWeiter"); break;
            }
            QCOMPARE(unheard, 0);
            const int pool = poolSize(s.program->caller()->view().settings.pool);
            QCOMPARE(litCells(hall, pool), s.program->checkSheet()->shownNumbers());
            QCOMPARE(hall.numberText(), s.mainDisplay());
            QVERIFY(QApplication::activeWindow() != &hall);
            QVERIFY(fresh(hall.rect()));
        }
    }

    // "--fenster": a window of the largest layout that fits the free area; one
    // of the four screens maximized only when no panel takes part of it.
    // Without the option those four run maximized, panel or not, and only they.
    void windowed_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("panel"); // taken from the bottom of the free area
        QTest::addColumn<QRect>("window"); // client area; the screen's: maximized
        const auto row = [](const char *name, int w, int h, int panel, const QRect &window) {
            QTest::newRow(name) << QSize(w, h) << panel << window;
        };
        row("1920x1080", 1920, 1080, 0, {320, 41, 1280, 1024});
        row("1920x1080, panel", 1920, 1080, 40, {448, 149, 1024, 768});
        row("1366x768, panel", 1366, 768, 40, {283, 77, 800, 600});
        row("1536x864", 1536, 864, 0, {256, 61, 1024, 768});
        row("2560x1440", 2560, 1440, 0, {640, 221, 1280, 1024});
        row("1280x800", 1280, 800, 0, {240, 113, 800, 600});
        row("640x480", 640, 480, 0, {0, 0, 640, 480});
        row("800x600", 800, 600, 0, {0, 0, 800, 600});
        row("1024x768", 1024, 768, 0, {0, 0, 1024, 768});
        row("1280x1024", 1280, 1024, 0, {0, 0, 1280, 1024});
        row("640x480, panel", 640, 480, 48, {54, 30, 531, 398});
        row("800x600, panel", 800, 600, 48, {80, 49, 640, 480});
        row("1024x768, panel", 1024, 768, 48, {112, 73, 800, 600});
        row("1280x1024, panel", 1280, 1024, 48, {128, 117, 1024, 768});
        row("640x480, panel too large for any window", 640, 480, 64, {0, 0, 640, 480});
        // Smaller than the smallest window: that one drawn smaller, down to 0.8.
        row("800x480", 800, 480, 0, {102, 30, 595, 446});
        row("800x480, panel", 800, 480, 40, {129, 30, 541, 406});
        row("800x500, panel", 800, 500, 40, {116, 30, 568, 426});
        row("520x418: 0.8, frame included", 520, 418, 0, {4, 30, 512, 384});
        row("519x418: refused", 519, 418, 0, {});
        row("520x417: refused", 520, 417, 0, {});
        row("640x400: refused", 640, 400, 0, {});
    }
    void windowed()
    {
        QFETCH(QSize, screen);
        QFETCH(int, panel);
        QFETCH(QRect, window);
        const bool fourSizes = QList<QSize>{{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}}.contains(screen);
        const bool maximized = window.size() == screen;
        // Refused with a box and status 1; with the option only where no window fits.
        const auto refusal = [](const Started &run) { // status, refused, the boxes' texts, visible
            QStringList boxes;
            for (const auto &box : run.fakes.messages.shown)
                boxes << box.text;
            return QStringList{QString::number(run.fakes.app.quits), run.program->refused() ? "refused" : "shown",
                               boxes.join('|'), run.main().isVisible() ? "visible" : "hidden"};
        };
        const QStringList shown = {"0", "shown", "", "visible"}, refused = {"1", "refused",
            QStringLiteral("Diese Auflösung  %1 x %2 wird nicht unterstützt.").arg(screen.width()).arg(screen.height()), "hidden"};
        Started plain({}, screen, panel), s({"--fenster"}, screen, panel);
        QCOMPARE(refusal(plain), fourSizes ? shown : refused);
        QCOMPARE(refusal(s), window.isEmpty() ? refused : shown);
        if (window.isEmpty())
            return;
        QCOMPARE(plain.main().isMaximized(), fourSizes);
        QCOMPARE(s.main().isMaximized(), maximized);
        QVERIFY(maximized || s.main().geometry() == window);
        if (window.width() < 640) {
            // Drawn smaller: every control inside its window, type of 8 px or more.
            for (const auto *c : s.main().findChildren<QWidget *>(QRegularExpression("^(lbl|frm|cmd)"))) {
                QVERIFY2(c->parentWidget()->rect().contains(c->geometry()), qPrintable(c->objectName()));
                QVERIFY2(QFontInfo(c->font()).pixelSize() >= 8, qPrintable(c->objectName()));
            }
            return;
        }
        // Laid out exactly as on the level's own screen, type included.
        QCOMPARE(s.looks(), Started({}, window.size()).looks());
    }

    // The real screen, in the desktop's logical pixels, is as a fake one of its
    // size; also run on a 4K screen at 200 % (1920 x 1080).
    void windowedOnThisScreen()
    {
        Started real({"--fenster"});
        Started same({"--fenster"}, QGuiApplication::primaryScreen()->size());
        QCOMPARE(real.main().geometry(), same.main().geometry());
        QCOMPARE(real.looks(), same.looks());
    }

    // Sound failing: told once per failure, in a box that does not wait, and
    // automatic calling steps on; told again only after a call has played.
    void soundFailureToldOncePerFailure()
    {
        Started s({});
        s.menu("mnuNew");
        s.menu("mnu5Sec");
        s.click("cmdWeiter");
        QSet<QString> shown;
        for (int i = 0; i < 7; ++i) { // x: the sound fails; then how many notices
            s.fakes.sound.failing = QStringLiteral("xxx..xx")[i] == 'x';
            QVERIFY(s.fakes.timers.timer(TimerRole::AutoStep)->tick());
            shown << s.mainDisplay();
            QVERIFY2(s.fakes.messages.notices.size() == QStringLiteral("1111122")[i].digitValue(), qPrintable(QString("step %1").arg(i + 1)));
        }
        QCOMPARE(shown.size(), 7);
        QCOMPARE(s.fakes.sound.played.size(), 7);
        QCOMPARE(s.fakes.messages.notices.first(), "Tonausgabe nicht möglich");
        QVERIFY(s.fakes.messages.shown.isEmpty());
    }

    // While a call plays, a screen reader's question (asked on another thread,
    // as the accessibility bus does) is answered with what shows, and its
    // press is taken once the call has ended, never inside it.
    void screenReaderDuringCalls()
    {
        Started s({});
        s.menu("mnuNew"), s.menu("mnuManuell");
        s.fakes.sound.blockMs = 600;
        QList<qint64> starts;
        QElapsedTimer clock;
        s.fakes.sound.onPlay = [&](const QByteArray &) { starts << clock.elapsed(); };
        auto *countLabel = child<QLabel>(s.main(), "lblAnzahlZahlen");
        std::pair<QString, qint64> heard;
        std::unique_ptr<QThread> reader(QThread::create([&] {
            QThread::msleep(150);
            QMetaObject::invokeMethod(countLabel, [&] {
                heard = {QAccessible::queryAccessibleInterface(countLabel)->text(QAccessible::Name), clock.elapsed()};
            }, Qt::BlockingQueuedConnection);
        }));
        QTimer::singleShot(150, [&] {
            QAccessible::queryAccessibleInterface(child<QWidget>(s.main(), "cmdWeiter"))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        });
        clock.start(), reader->start();
        s.click("cmdWeiter");
        QTRY_VERIFY(reader->isFinished());
        QCOMPARE(heard.first, "1");
        QVERIFY2(heard.second < 450, qPrintable(QString::number(heard.second)));
        QTRY_COMPARE(countLabel->text(), "2");
        QCOMPARE(starts.size(), 2);
        QVERIFY2(starts[1] - starts[0] >= 600, qPrintable(QString::number(starts[1] - starts[0])));
    }

    // Back to the front from minimised as it was: maximized, or the window of --fenster.
    void broughtToFront()
    {
        for (const bool windowed : {false, true}) {
            Started s(windowed ? QStringList{"--fenster"} : QStringList{}, windowed ? QSize(1920, 1080) : QSize(1024, 768));
            const QRect shown = s.main().geometry();
            s.main().showMinimized();
            s.program->bringToFront();
            QVERIFY(s.main().isVisible() && !s.main().isMinimized());
            QCOMPARE(s.main().isMaximized(), !windowed);
            QCOMPARE(s.main().geometry(), shown);
        }
        // Asked during the splash: shown once there; a refused screen's window never.
        for (const int height : {768, 400}) {
            FakeServices f;
            f.screen.set(1024, height);
            Program p(f.services());
            p.start();
            p.bringToFront();
            f.timers.timer(TimerRole::Splash)->tick();
            p.bringToFront();
            QCOMPARE(p.mainWindow()->isVisible(), height == 768);
        }
    }

    // One Kugelfon per desktop session: a later start brings the running one
    // forward and ends, naming the options it leaves unused, and gives up on
    // one that does not answer; a killed one's lock is no obstacle.
    void oneAtATime()
    {
        QTemporaryDir home; // the user's runtime and temporary folder
        QProcessEnvironment env = withoutDisplay();
        for (const char *name : {"XDG_RUNTIME_DIR", "TMPDIR", "TMP", "TEMP"})
            env.insert(name, QDir::toNativeSeparators(home.path()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        const auto holder = [&] {
            QDirIterator lock(home.path(), {"*.lock"}, QDir::Files, QDirIterator::Subdirectories);
            qint64 pid = 0;
            return lock.hasNext() && QLockFile(lock.next()).getLockInfo(&pid, nullptr, nullptr) ? pid : 0;
        };
        QProcess first, again;
        first.setProcessEnvironment(env), again.setProcessEnvironment(env);
        first.start(KUGELFON_EXE, {"--fenster"});
        QTRY_COMPARE_WITH_TIMEOUT(holder(), first.processId(), 10000);
        const char *off = "offscreen";
        QCOMPARE(run({}, off, env), QStringList({"0", "", ""}));
        QCOMPARE(run({"--saalanzeige", "-fenster"}, off, env),
                 QStringList({"0", "", "Kugelfon läuft schon und wurde nach vorn geholt; es läuft weiter wie "
                                       "gestartet, ohne „--saalanzeige -fenster“.\n"}));
        QCOMPARE(run({"--version"}, off, env), QStringList({"0", productWithVersion() + '\n', ""}));
        QVERIFY(run({"--help"}, off, env).join('|').startsWith("0|Aufruf: "));
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(holder(), first.processId());
#ifdef Q_OS_UNIX // a hung program: one stopped by a signal
        ::kill(pid_t(first.processId()), SIGSTOP);
        QCOMPARE(run({}, off, env), QStringList({"1", "", "Kugelfon läuft schon, antwortet aber nicht; beenden "
                                                          "Sie es, bevor Sie Kugelfon neu starten.\n"}));
#endif
        first.kill();
        first.waitForFinished();
        again.start(KUGELFON_EXE);
        QTRY_COMPARE_WITH_TIMEOUT(holder(), again.processId(), 10000);
        QCOMPARE(run({}, off, env), QStringList({"0", "", ""}));
        stop(again);
    }

    // The options, answered before any window, also without a display; on
    // Windows under the name typed there.
    void help()
    {
        const bool windows = QSysInfo::kernelType() == "winnt";
        const QStringList help = run({"--help"});
        QCOMPARE(help.first(), QString("0"));
        for (const char *line : {windows ? "Aufruf: Kugelfon.exe [Optionen]\n" : "Aufruf: kugelfon [Optionen]\n",
                                 "\n  --fenster\n", "\n  --saalanzeige\n", windows ? "\n  /?, -h, --help\n" : "\n  -h, --help\n",
                                 "\n  -v, --version\n"})
            QVERIFY2(help[1].contains(QString::fromUtf8(line)), qPrintable(help[1]));
        for (const QString &line : help[1].split('\n'))
            QVERIFY2(line.size() <= 80, qPrintable(line));
    }

    // The version without a display; an answer that cannot be written fails.
    // Anything else is named in German, with no window; without a window
    // system one German line, not Qt's abort.
    void answers_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QStringList>("answer"); // status, output, error output
        const auto row = [](const char *name, const QStringList &args, const char *display, const char *status,
                            const QString &error, const QString &output = QString()) {
            QTest::newRow(name) << args << QString(display) << QStringList{status, output, error};
        };
        row("version", {"--version"}, "", "0", "", productWithVersion() + '\n');
        const QString full = "Kugelfon: Die Ausgabe lässt sich nicht schreiben.\n";
        row("version to a full disk", {"--version"}, "/dev/full", "1", full);
        row("help to a full disk", {"--help"}, "/dev/full", "1", full);
        const QString unknown = "Kugelfon: Unbekannte Option „%1“. Mit --help zeigt Kugelfon, was es versteht.\n";
        const char *off = "offscreen"; // no window system but Qt's offscreen one
        row("option", {"--vollbild"}, off, "2", unknown.arg("--vollbild"));
        const QString argument = "Kugelfon: Unbekanntes Argument „%1“. Mit --help zeigt Kugelfon, was es versteht.\n";
        row("argument", {"spiel.txt"}, off, "2", argument.arg("spiel.txt"));
        // Windows programs answer "/?" with their help; elsewhere it is an argument.
        const bool windows = QSysInfo::kernelType() == "winnt";
        row("/?", {"/?"}, off, windows ? "0" : "2", windows ? "" : argument.arg("/?"), windows ? helpText() : "");
        row("value", {"--fenster=ja"}, off, "2",
            "Kugelfon: „--fenster=ja“ wird nicht verstanden; die Optionen nehmen keinen Wert.\n");
        // Options are named as typed.
        row("one dash", {"-platform", "offscreen"}, off, "2", unknown.arg("-platform"));
        row("three dashes", {"---fenster"}, off, "2", unknown.arg("---fenster"));
        // A long text is cut to 40 characters, between two characters as the user sees them.
        const QString x(20000, 'x'), eyes = QString::fromUtf8("👀").repeated(10000);
        row("long option", {"--" + x}, off, "2", unknown.arg("--" + x.left(37) + "…"));
        row("long value", {"--fenster=" + x}, off, "2", "Kugelfon: „--fenster=" + x.left(29) + "…“ wird nicht verstanden; die Optionen nehmen keinen Wert.\n");
        row("long argument", {x.left(36) + eyes}, off, "2", argument.arg(x.left(36) + eyes.left(2) + "…"));
        row("no such platform", {}, "nirgends", "1",
            "Kugelfon: Die Qt-Plattform „nirgends“ lässt sich nicht laden; ohne sie kann Kugelfon nicht starten.\n");
        row("no display", {}, "", "1", "Kugelfon braucht eine grafische Oberfläche, aber es ist keine Anzeige da "
                                       "(weder DISPLAY noch WAYLAND_DISPLAY gesetzt).\n");
        row("unreachable display", {}, ":97", "1", "Kugelfon: Die grafische Oberfläche (Anzeige „:97“) lässt "
                                                   "sich nicht öffnen; ohne sie kann Kugelfon nicht starten.\n");
    }
    void answers()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, display);
        QFETCH(QStringList, answer);
        if (((display.isEmpty() && args.isEmpty()) || display.startsWith(':')) && QSysInfo::kernelType() == "winnt")
            QSKIP("A Windows session always has its desktop; DISPLAY means nothing there.");
        if (display.startsWith('/') && !QFileInfo::exists(display))
            QSKIP("No device here refuses writing as /dev/full does.");
        QCOMPARE(run(args, display), answer);
    }
};

QTEST_MAIN(TestProgram)
#include "test_program.moc"
