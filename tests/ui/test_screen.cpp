// The program as main() starts it on real offscreen screens of each size and
// dpi (see CMakeLists.txt): the splash, then the main window laid out for the
// screen with every control inside it and no text cut.
#include "fakes/fakes.h"
#include "fakes/testkit.h"

#include "app/options.h"
#include "app/program.h"
#include "app/splash.h"
#include "platform/qt/qtscreenmetrics.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QtTest>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

QLabel *label(const QWidget &w, const QString &name) { return child<QLabel>(w, name); }
int pixelSize(const QWidget *w) { return QFontInfo(w->font()).pixelSize(); }

// Why `text` drawn into `area` is cut, or empty: its ink must lie inside.
QString clipped(const QWidget *w, const QRect &area, Qt::Alignment align, const QString &text)
{
    const QFontMetrics fm(w->font(), w);
    const QRect box = fm.boundingRect(area, int(align), text);
    const QRect ink = fm.tightBoundingRect(text).translated(box.left(), box.top() + fm.ascent());
    if (box.width() <= area.width() && area.contains(ink))
        return {};
    return QStringLiteral("%1 \"%2\": %3 px wide, ink %4 in %5")
        .arg(w->objectName(), text, QString::number(box.width()), QDebug::toString(ink), QDebug::toString(area));
}

// Where the ink of the widest of `texts` ends in the parent.
int inkRight(const QLabel *l, const QStringList &texts)
{
    int right = 0;
    for (const QString &text : texts)
        right = std::max(right, QFontMetrics(l->font(), l).tightBoundingRect(text).right());
    return l->x() + right;
}

// Every text each control of the window can show, whole inside it with the
// control's own font (a button's inside the frame its style draws), and a
// blank at least between neighbours of the status row.
QStringList captionFaults(const MainWindow &window)
{
    QHash<QString, QStringList> texts = {
        {"lblModusZahl", {"75 Zahlen", "90 Zahlen"}}, {"lblModusSchalten", {"Manuell", "1 Sekunde"}},
        {"lblletzteModusZahl", {"75", "90"}}, {"lblStimmenModus", {"Weiblich", "Männlich"}},
        {"cmdWeiter", {"Weiter", "Start", "Stop", "Pause"}}};
    for (int n = 1; n <= 90; ++n)
        texts["lblAnzahlZahlen"] << QString::number(n);
    for (int s = 2; s <= 60; ++s)
        texts["lblModusSchalten"] << QString::number(s) + " Sekunden";
    QStringList faults;
    const int statusLabels = int(MainControl::VoiceValue) + 1;
    for (int i = 0; i < statusLabels; ++i) {
        const QLabel *lbl = label(window, mainControlName(MainControl(i)));
        const QStringList shown = texts.value(lbl->objectName(), {lbl->text()});
        for (const QString &text : shown)
            faults << clipped(lbl, lbl->contentsRect(), lbl->alignment(), text);
        const QLabel *next = i + 1 < statusLabels ? label(window, mainControlName(MainControl(i + 1))) : nullptr;
        if (next && next->x() - inkRight(lbl, shown) - 1 < QFontMetrics(lbl->font(), lbl).horizontalAdvance(' '))
            faults << lbl->objectName() + " runs into " + next->objectName();
    }
    for (const char *name : {"cmdBingo", "cmdWeiter", "cmdZahlenTafel"}) {
        const auto *b = child<QPushButton>(window, name);
        QStyleOptionButton option;
        option.initFrom(b);
        const QRect area = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
        for (const QString &text : texts.value(b->objectName(), {b->text()}))
            faults << clipped(b, area, Qt::AlignCenter, text);
    }
    return faults;
}

// Buttons that keep their captions further inside than Windows' own style does.
class ThickButtons : public QProxyStyle {
public:
    ThickButtons() : QProxyStyle(QStyleFactory::create("Fusion")) {}
    QRect subElementRect(SubElement e, const QStyleOption *o, const QWidget *w) const override
    {
        return e == SE_PushButtonContents ? o->rect.adjusted(5, 5, -5, -5) : QProxyStyle::subElementRect(e, o, w);
    }
};

} // namespace

class TestScreen : public QObject {
    Q_OBJECT
    FakeServices m_fakes;
    QtScreenMetrics m_real;
    std::unique_ptr<Program> m_program;
    QSize m_size;
    int m_level = 0;

private slots:
    void initTestCase()
    {
        configureApplication(*qApp);
        m_size = QGuiApplication::primaryScreen()->size();
        for (int level = 1; level <= 4; ++level)
            m_level = levelScreenSize(level) == m_size ? level : m_level;
        Services s = m_fakes.services();
        s.screen = m_real;
        m_program = std::make_unique<Program>(s);
        m_program->start();
    }
    void cleanupTestCase() { m_program.reset(); }

    // The splash stands 1500 ms whatever is pressed; then the main window
    // comes, the check sheet hidden, and the splash goes.
    void splash()
    {
        QPointer<SplashWindow> splash = m_program->splash();
        QVERIFY(splash && splash->isVisible());
        FakeTimer *timer = m_fakes.timers.timer(TimerRole::Splash);
        QVERIFY(timer->isEnabled() && timer->interval() == 1500);
        QCOMPARE(label(*splash, "lblVersion")->text(), QStringLiteral("Version ") + version::kText);
        // A black border around the cyan frame.
        const QImage shot = splash->grab().toImage();
        for (const QPoint corner : {QPoint(0, 0), shot.rect().bottomRight(), QPoint(300, 0), QPoint(0, 200)})
            QCOMPARE(shot.pixelColor(corner), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(480, 20), QColor(0, 255, 255));

        QTest::mouseClick(splash, Qt::LeftButton);
        QTest::keyClick(splash, Qt::Key_Escape);
        QVERIFY(!m_program->mainWindow());
        QVERIFY(timer->tick());
        QVERIFY(!timer->isEnabled() && m_program->mainWindow() && !m_program->checkSheet()->isVisible());
        QTRY_VERIFY(!splash);
    }

    void loadOrRefuse()
    {
        MainWindow &window = *m_program->mainWindow();
        const ScreenSize &measured = window.screenLayout().screen;
        QCOMPARE(QSize(measured.widthPx, measured.heightPx), m_size);
        QCOMPARE(window.screenLayout().level, m_level);
        const QList<ShownBox> &boxes = m_fakes.messages.shown;
        if (m_level == 0) { // its text is test_program's
            QVERIFY(boxes.size() == 1 && boxes[0].title == "Kugelfon" && boxes[0].buttons == MsgButtons::Ok);
            QVERIFY(m_fakes.app.quits == 1 && !window.isVisible());
            return;
        }
        QVERIFY(window.isVisible() && boxes.isEmpty() && m_fakes.app.quits == 0);
        // The same text size at every dpi: 8, 12, 14 or 16 pt as at 96 dpi,
        // the status row a pixel smaller where its texts need it.
        const int fontPx[] = {11, 16, 19, 21};
        for (const char *name : {"cmdBingo", "cmdWeiter", "cmdZahlenTafel", "lblZahlModus", "lblStimmenModus"}) {
            const int smaller = fontPx[m_level - 1] - pixelSize(child<QWidget>(window, name));
            QVERIFY2(smaller == 0 || (smaller == 1 && name[0] == 'l'), name);
        }
        // A sans face on the buttons, also where "MS Sans Serif" is missing:
        // a serif face's bold "I", with its bars, is over a quarter as wide as high.
        QFont face(QFontInfo(child<QWidget>(window, "cmdBingo")->font()).family());
        face.setPixelSize(100);
        face.setBold(true);
        QVERIFY2(QFontMetrics(face).tightBoundingRect("I").width() < 25, qPrintable(face.family()));
        QPushButton *step = child<QPushButton>(window, "cmdWeiter");
        const QRect frame = window.geometry(), placed = step->geometry();
        window.resize(400, 300); // resizing later moves nothing
        QCoreApplication::processEvents();
        QCOMPARE(step->geometry(), placed);
        window.setGeometry(frame);
    }

    void everythingOnScreenAndReadable()
    {
        if (m_level == 0)
            QSKIP("The program refuses this size.");
        MainWindow &window = *m_program->mainWindow();
        QCoreApplication::processEvents();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(window.geometry()));
        QVERIFY(window.rect().contains(window.centralWidget()->geometry()));
        QVERIFY(window.centralWidget()->geometry().top() > window.menuBar()->geometry().bottom());
        // The menus and the check sheet as at 96 dpi too: 9 pt, 8.25 pt.
        QCOMPARE(pixelSize(window.menuBar()), 12);
        QCOMPARE(pixelSize(m_program->checkSheet()), 11);

        QStringList faults;
        for (int i = 0; i < kMainControlCount; ++i) {
            const auto *w = child<QWidget>(window, mainControlName(MainControl(i)));
            const QRect global(w->mapToGlobal(QPoint(0, 0)), w->size());
            if (!w->parentWidget()->rect().contains(w->geometry()) || !screen.contains(global))
                faults << w->objectName() + " not inside";
        }
        faults << captionFaults(window);
        // The number display: a two-digit number, then "Bingo!" in the claim's size.
        QLabel *display = label(window, "lblZahlenfeld");
        window.findChild<QAction *>("mnuNew")->trigger();
        QTest::mouseClick(child<QPushButton>(window, "cmdWeiter"), Qt::LeftButton);
        faults << clipped(display, display->rect(), display->alignment(), "88");
        // The number stands centred on its grey field.
        const QImage img = display->grab().toImage();
        QCOMPARE(img.pixelColor(2, 2), QColor(212, 208, 200));
        int left = img.width(), right = -1; // the number's ink
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixelColor(x, y).lightness() < 60)
                    left = std::min(left, x), right = std::max(right, x);
        QVERIFY2(right > left && qAbs(left - (img.width() - 1 - right)) < 30,
                 qPrintable(QStringLiteral("ink %1..%2 of %3").arg(left).arg(right).arg(img.width())));
        QTest::mouseClick(child<QPushButton>(window, "cmdBingo"), Qt::LeftButton);
        faults << clipped(display, display->rect(), display->alignment(), "Bingo!");

        // The smallest window of --fenster, the 640 x 480 layout drawn
        // smaller, in a style that keeps captions further inside the buttons.
        QApplication::setStyle(new ThickButtons);
        FakeServices fakes;
        fakes.screen.set(520, 418);
        Program small(fakes.services(), parseStartOptions({"kugelfon", "--fenster"}));
        small.start();
        fakes.timers.timer(TimerRole::Splash)->tick();
        QVERIFY(small.mainWindow()->isVisible() && small.mainWindow()->width() < 640);
        faults << captionFaults(*small.mainWindow());
        faults.removeAll(QString());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }
};

QTEST_MAIN(TestScreen)
#include "test_screen.moc"
