// The hall display as the players see it: read back from the screen, on
// Qt's offscreen platform with two screens (a 1280 x 1024, b 1920 x 1080).
#include "fakes/fakes.h"
#include "fakes/fakescreenlist.h"

#include "app/program.h"
#include "platform/qtscreenlist.h"
#include "ui/hall/halldisplay.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <random>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

const QRect kScreenA(0, 0, 1280, 1024);
const QRect kScreenB(1280, 0, 1920, 1080);

// What the window shows on its screen right now, without painting anew.
QImage onScreen(const QWidget &w)
{
    return w.screen()->grabWindow(w.winId()).toImage();
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
        if (grey > 160)
            out << n;
        else if (grey > 96)
            out << 0;
    }
    return out;
}

// The colour at the left edge of a cell, where the latest number's frame is.
QColor edge(const QImage &img, const HallDisplay &hall, int n)
{
    const QRect r = hall.cellRect(n);
    return img.pixelColor(r.left() + 1, r.center().y());
}

int distance(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green())
        + std::abs(a.blue() - b.blue());
}

// Equal but for the smoothing of edges, which differs with the part painted.
bool looksAlike(QImage a, QImage b)
{
    a = a.convertToFormat(QImage::Format_RGB32);
    b = b.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (std::max({std::abs(qRed(p[x]) - qRed(q[x])), std::abs(qGreen(p[x]) - qGreen(q[x])),
                          std::abs(qBlue(p[x]) - qBlue(q[x]))}) > 96)
                return false;
    }
    return true;
}

class SoundWatch final : public ISoundOutput {
public:
    void playWave(const QByteArray &) override
    {
        if (onPlay)
            onPlay();
    }
    std::function<void()> onPlay;
};

struct Started {
    FakeServices fakes;
    SoundWatch sound;
    std::unique_ptr<Program> program;

    Started(IScreenList *screens, bool hall = true)
    {
        Services s = fakes.services();
        s.screens = screens;
        s.sound = &sound;
        StartOptions options;
        options.hallDisplay = hall;
        program = std::make_unique<Program>(s, options);
        program->start();
        fakes.timers.timer(QStringLiteral("SplashTimer"))->tick();
        QCoreApplication::processEvents();
    }
    MainWindow &main() const { return *program->mainWindow(); }
    HallDisplay &hall() const { return *program->hallDisplay(); }
    QString mainText(const char *label) const
    {
        return main().findChild<QLabel *>(QLatin1String(label))->text();
    }
    QString mainDisplay() const { return mainText("lblZahlenfeld"); }
    // The main window's count row as one line.
    QString mainCount() const
    {
        const QString count = mainText("lblAnzahlZahlen");
        return QStringLiteral("gezeigte Zahlen: %1von %2")
            .arg(count.isEmpty() ? QString() : count + QLatin1Char(' '), mainText("lblletzteModusZahl"));
    }
    void click(const char *name)
    {
        QTest::mouseClick(main().findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
    }
    void menu(const char *name) { main().findChild<QAction *>(QString::fromUtf8(name))->trigger(); }
    FakeTimer &timer(const char *name) { return *fakes.timers.timer(QLatin1String(name)); }
    bool mainActive() const
    {
        QCoreApplication::processEvents();
        return QApplication::activeWindow() == &main();
    }
    bool fullScreenOn(const QRect &screen) const
    {
        return hall().isVisible() && hall().isFullScreen() && hall().geometry() == screen
            && hall().windowFlags().testFlag(Qt::FramelessWindowHint);
    }
    bool windowedOn(const QRect &screen) const
    {
        return hall().isVisible() && !hall().isFullScreen() && screen.contains(hall().geometry())
            && !hall().windowFlags().testFlag(Qt::FramelessWindowHint)
            && hall().width() >= 640 && hall().height() >= 480
            && hall().windowTitle() == QStringLiteral("Kugelfon 1.1 - Saalanzeige");
    }
};

} // namespace

class TestHallDisplay : public QObject {
    Q_OBJECT
private slots:
    void plainStartHasNone()
    {
        QtScreenList screens;
        Started s(&screens, false);
        QVERIFY(!s.program->hallDisplay());
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible() || w == &s.main(), qPrintable(w->objectName()));
    }

    // New game, ten steps, the claim, a new game, the pool of 90; the main
    // window keeps the focus throughout.
    void followsTheGame_data()
    {
        QTest::addColumn<bool>("ninety");
        QTest::newRow("75") << false;
        QTest::newRow("90") << true;
    }
    void followsTheGame()
    {
        QFETCH(bool, ninety);
        QtScreenList screens;
        Started s(&screens);
        HallDisplay &hall = s.hall();
        QVERIFY(s.fullScreenOn(kScreenB));
        QCOMPARE(hall.screen()->name(), QStringLiteral("b"));
        QVERIFY(s.mainActive());
        const int pool = ninety ? 90 : 75;
        s.menu(ninety ? "mnu90Zahlen" : "mnuNew");

        // The board of the pool, row by row.
        const int columns = ninety ? 10 : 15;
        QSet<int> tops;
        for (int n = 2; n <= pool; ++n) {
            const QRect cell = hall.cellRect(n), before = hall.cellRect(n - 1);
            tops << cell.top();
            if ((n - 1) % columns == 0)
                QVERIFY(cell.top() > before.bottom() && cell.left() == hall.cellRect(1).left());
            else
                QVERIFY(cell.top() == before.top() && cell.left() > before.right());
        }
        QCOMPARE(tops.size(), ninety ? 9 : 5);
        QVERIFY(!hall.numberRect().intersects(hall.cellRect(1)));

        // While a number is called, the hall shows it already: the number
        // area is then as it is once the step is done.
        QImage whileCalled;
        s.sound.onPlay = [&] { whileCalled = onScreen(hall).copy(hall.numberRect()); };
        QList<int> called;
        for (int i = 0; i < 10; ++i) {
            s.click("cmdWeiter");
            called << s.mainDisplay().toInt();
            QCOMPARE(hall.numberText(), s.mainDisplay());
            QCoreApplication::processEvents();
            QCOMPARE(whileCalled, onScreen(hall).copy(hall.numberRect()));
            QVERIFY(s.mainActive());
        }
        s.sound.onPlay = nullptr;
        QList<int> drawn = called;
        std::sort(drawn.begin(), drawn.end());
        QCOMPARE(litCells(hall, pool), drawn);
        QCOMPARE(hall.countText(), QStringLiteral("gezeigte Zahlen: 10 von %1").arg(pool));

        // The latest number framed, set apart from the other lit cells.
        const QImage img = onScreen(hall);
        const QColor latest = edge(img, hall, called.last());
        for (int n : called.mid(0, 9))
            QVERIFY(distance(edge(img, hall, n), latest) > 150);
        QVERIFY(distance(latest, img.pixelColor(0, 0)) > 150);

        // The claim: each letter as on the main window, the board as it was.
        bool bingoShown = false;
        s.fakes.messages.responder = [&](const ShownBox &) {
            bingoShown = hall.numberText() == QStringLiteral("Bingo!") && litCells(hall, pool) == drawn;
            return kAnswerYes;
        };
        s.click("cmdBingo");
        for (int i = 0; i < 6; ++i) {
            s.timer("ZeitUni").tick();
            QCOMPARE(hall.numberText(), s.mainDisplay());
            QVERIFY(QApplication::activeWindow() != &hall); // the check sheet comes up
        }
        QCOMPARE(s.fakes.messages.shown.size(), 1);
        QVERIFY(bingoShown);
        QCOMPARE(litCells(hall, pool), drawn);

        s.main().activateWindow();
        s.menu("mnuNew");
        QCOMPARE(litCells(hall, pool), QList<int>());
        QCOMPARE(hall.numberText(), QString());
        QCOMPARE(hall.countText(), QStringLiteral("gezeigte Zahlen: von %1").arg(pool));
        QVERIFY(s.mainActive());
    }

    // One screen: a window; a second screen comes and goes.
    void screenComesAndGoes()
    {
        FakeScreenList screens({kScreenA});
        Started s(&screens);
        QVERIFY(s.windowedOn(kScreenA));
        QVERIFY(s.mainActive());
        screens.set({kScreenA, kScreenB});
        QVERIFY(s.fullScreenOn(kScreenB));
        QVERIFY(s.mainActive());
        screens.set({kScreenA});
        QVERIFY(s.windowedOn(kScreenA));
        // The main window on the second screen: the first is the hall's.
        s.main().move(kScreenB.topLeft());
        screens.set({kScreenB, kScreenA});
        QVERIFY(s.fullScreenOn(kScreenA));
        QVERIFY(s.mainActive());
    }

    // Random play: after every action the hall's board and the check sheet
    // show the same numbers, and the hall the main window's number.
    void agreesWithCheckSheet()
    {
        FakeScreenList screens({kScreenA});
        Started s(&screens);
        HallDisplay &hall = s.hall();
        hall.resize(640, 480);
        std::mt19937 rng(11);
        s.fakes.messages.responder = [&](const ShownBox &) {
            return rng() % 2 ? kAnswerYes : kAnswerNo;
        };
        s.menu("mnuNew");
        for (int i = 0; i < 2000; ++i) {
            switch (rng() % 40) {
            case 0: s.menu("mnuNew"); break;
            case 1: s.menu(rng() % 2 ? "mnu90Zahlen" : "mnu75Zahlen"); break;
            case 2: s.menu(rng() % 3 ? "mnuManuell" : "mnu5Sec"); break;
            case 3: s.click("cmdBingo"); break;
            case 4: // a game to its end
                for (int k = 0; k < 80; ++k)
                    s.click("cmdWeiter");
                break;
            case 5: case 6: case 7: s.timer("ZeitUni").tick(); break;
            case 8: case 9: case 10: case 11: case 12: case 13: case 14: case 15:
                s.timer("AutoTimer").tick();
                break;
            default: s.click("cmdWeiter"); break;
            }
            const int pool = poolSize(s.program->settings().pool);
            QCOMPARE(litCells(hall, pool), s.program->checkSheet()->shownNumbers());
            QCOMPARE(hall.numberText(), s.mainDisplay());
            QCOMPARE(hall.countText(), s.mainCount());
            QVERIFY(QApplication::activeWindow() != &hall);
            // Nothing stale on the screen: it is what painting it anew gives.
            QVERIFY(looksAlike(onScreen(hall), hall.grab().toImage()));
        }
    }
};

QTEST_MAIN(TestHallDisplay)
#include "test_halldisplay.moc"
