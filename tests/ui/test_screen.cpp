// The program on real offscreen screens: each supported size at 96, 120 and
// 144 dpi, and sizes it refuses (see CMakeLists.txt).
#include "helpers.h"

#include "app/program.h"
#include "platform/qtscreenmetrics.h"

#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStyleOptionButton>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

struct Expected {
    int level;
    int fontPx; // status row and buttons: 8, 12, 14 or 16 pt as drawn at 96 dpi
    // cmdWeiter and lblZahlModus in twips where the numbers are known.
    std::optional<QRectF> weiter;
    std::optional<QRectF> zahlModus;
};

Expected expectedFor(QSize size)
{
    if (size == QSize(1280, 1024))
        return {4, 21, QRectF(6540, 13800, 4537.5, 412.5), QRectF(264, 120, 1930.5, 361)};
    if (size == QSize(1024, 768))
        return {3, 19, QRectF(5232, 9936, 4021.875, 480), QRectF(249.6, 120, 2106, 361)};
    if (size == QSize(800, 600))
        return {2, 16, {}, {}};
    if (size == QSize(640, 480))
        return {1, 11, {}, QRectF(170.4, 120, 1406.74, 361)};
    return {0, 0, {}, {}};
}

// The window is laid out at 15 twips per pixel whatever the screen's dpi.
QRect pixels(const QRectF &twips)
{
    return QRect(qRound(twips.x() / 15), qRound(twips.y() / 15), qRound(twips.width() / 15),
                 qRound(twips.height() / 15));
}

int pixelSize(const QWidget *w) { return QFontInfo(w->font()).pixelSize(); }

// Why `text` is cut when the widget draws it into `area`, or empty: its line
// box may be at most `slack` pixels wider than the area, and its ink must
// stay inside the area widened by the slack.
QString clipped(const QWidget *w, const QRect &area, Qt::Alignment align, const QString &text,
                int slack = 0)
{
    const QFontMetrics fm(w->font(), w);
    const QRect box = fm.boundingRect(area, int(align), text);
    const QRect ink = fm.tightBoundingRect(text).translated(box.left(), box.top() + fm.ascent());
    if (box.width() <= area.width() + slack && area.adjusted(-slack, 0, slack, 0).contains(ink))
        return {};
    return QStringLiteral("%1 \"%2\": %3 px wide, ink %4,%5 %6x%7 in %8,%9 %10x%11")
        .arg(w->objectName(), text)
        .arg(box.width())
        .arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())
        .arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height());
}

// The ink of the widest of `texts` ends here, in the parent's coordinates,
// or at the label's right edge, which cuts it.
int inkRight(const QLabel *l, const QStringList &texts)
{
    int right = 0;
    for (const QString &text : texts)
        right = std::max(right, QFontMetrics(l->font(), l).tightBoundingRect(text).right());
    return l->x() + std::min(right, l->width() - 1);
}

struct Loaded {
    FakeServices fakes;
    QtScreenMetrics real;
    std::unique_ptr<Program> program;
    MainWindow *window = nullptr;

    // Starts the program as main() does, on the real screen.
    Loaded()
    {
        Services s = fakes.services();
        s.screen = &real;
        program = std::make_unique<Program>(s);
        program->start();
        if (FakeTimer *splash = fakes.timers.timer(QStringLiteral("SplashTimer")))
            splash->tick();
        window = program->mainWindow();
    }
    ~Loaded() { program.reset(); }
};

} // namespace

class TestScreen : public QObject {
    Q_OBJECT
    QSize m_size;

private slots:
    void initTestCase()
    {
        configureApplication(*qApp);
        const QScreen *screen = QGuiApplication::primaryScreen();
        QVERIFY(screen);
        m_size = screen->size();
        qInfo("screen %dx%d at %g dpi", m_size.width(), m_size.height(),
              screen->logicalDotsPerInchY());
    }

    void loadOrRefuse()
    {
        const Expected expected = expectedFor(m_size);
        Loaded l;
        QVERIFY(l.window);
        MainWindow &window = *l.window;
        const FakeServices &fakes = l.fakes;

        QCOMPARE(l.program->settings().screen.widthPx, m_size.width());
        QCOMPARE(l.program->settings().screen.heightPx, m_size.height());
        QCOMPARE(window.screenLayout().level, expected.level);

        if (expected.level == 0) {
            QCOMPARE(fakes.messages.shown.size(), 1);
            QCOMPARE(fakes.messages.shown.first().text,
                     QStringLiteral("Diese Auflösung  %1 x %2 wird nicht unterstützt.")
                         .arg(m_size.width())
                         .arg(m_size.height()));
            QCOMPARE(fakes.messages.shown.first().buttons, MsgButtons::Ok);
            QCOMPARE(fakes.messages.shown.first().title, QStringLiteral("Kugelfon"));
            QCOMPARE(fakes.app.quits, 1);
            QVERIFY(!window.isVisible());
            // Nothing was scaled: the buttons keep their design font of 12 pt.
            QCOMPARE(pixelSize(button(window, "cmdWeiter")), 16);
            return;
        }

        QVERIFY(window.isVisible());
        QVERIFY(fakes.messages.shown.isEmpty());
        QCOMPARE(fakes.app.quits, 0);
        // The same text size at every dpi.
        for (const char *name : {"cmdBingo", "cmdWeiter", "cmdZahlenTafel"})
            QCOMPARE(pixelSize(button(window, name)), expected.fontPx);
        for (const char *name : {"lblZahlModus", "lblModusZahl", "lblStimmenModus"})
            QCOMPARE(pixelSize(label(window, name)), expected.fontPx);
        QVERIFY(label(window, "lblModusZahl")->font().underline());
        QVERIFY(label(window, "lblZahlModus")->font().bold());
        if (expected.weiter)
            QCOMPARE(button(window, "cmdWeiter")->geometry(), pixels(*expected.weiter));
        if (expected.zahlModus)
            QCOMPARE(label(window, "lblZahlModus")->geometry(), pixels(*expected.zahlModus));

        // Resizing later moves nothing.
        const QRect before = button(window, "cmdWeiter")->geometry();
        window.resize(400, 300);
        QCoreApplication::processEvents();
        QCOMPARE(button(window, "cmdWeiter")->geometry(), before);
    }

    void everythingOnScreenAndReadable()
    {
        if (expectedFor(m_size).level == 0)
            QSKIP("The program refuses this size.");
        Loaded l;
        QVERIFY(l.window && l.window->isVisible());
        MainWindow &window = *l.window;
        QCoreApplication::processEvents();

        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = window.geometry();
        QVERIFY2(screen.contains(frame), qPrintable(QStringLiteral("window %1,%2 %3x%4")
                                                        .arg(frame.x()).arg(frame.y())
                                                        .arg(frame.width()).arg(frame.height())));
        const QWidget *client = window.centralWidget();
        QVERIFY(window.rect().contains(client->geometry()));
        QVERIFY(client->geometry().top() > window.menuBar()->geometry().bottom());
        // The menus and the other windows draw their text as at 96 dpi too:
        // the platform's 9 pt, the check sheet's 8.25 pt.
        QCOMPARE(QFontInfo(window.menuBar()->font()).pixelSize(), 12);
        QCOMPARE(pixelSize(l.program->checkSheet()), 11);

        auto onScreen = [&](const QWidget *w, const QRect &container) {
            const QRect global(w->mapToGlobal(QPoint(0, 0)), w->size());
            return container.contains(w->geometry()) && screen.contains(global);
        };
        QStringList faults;
        for (int i = 0; i < kMainControlCount; ++i) {
            const auto *w = window.findChild<QWidget *>(
                QString::fromLatin1(mainControlName(static_cast<MainControl>(i))));
            QVERIFY(w);
            const QRect r = w->geometry();
            if (!onScreen(w, w->parentWidget()->rect()))
                faults << QStringLiteral("%1 at %2,%3 %4x%5 not inside")
                              .arg(w->objectName())
                              .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        }

        // The longest texts each status label shows, and the captions.
        const QHash<QString, QStringList> texts = {
            {QStringLiteral("lblModusZahl"),
             {QStringLiteral("75 Zahlen"), QStringLiteral("90 Zahlen")}},
            {QStringLiteral("lblModusSchalten"),
             {QStringLiteral("Manuell"), QStringLiteral("20 Sekunden"),
              QStringLiteral("60 Sekunden")}},
            {QStringLiteral("lblAnzahlZahlen"), {QStringLiteral("88"), QStringLiteral("90")}},
            {QStringLiteral("lblletzteModusZahl"), {QStringLiteral("75"), QStringLiteral("90")}},
            {QStringLiteral("lblStimmenModus"),
             {QStringLiteral("Weiblich"), QString::fromUtf8("Männlich")}},
            {QStringLiteral("cmdWeiter"),
             {QStringLiteral("Start"), QStringLiteral("Stop"), QStringLiteral("Pause")}},
        };
        auto add = [&](const QString &fault) {
            if (!fault.isEmpty())
                faults << fault;
        };
        // As designed, some status labels are up to 3 px narrower than their
        // texts at 96 dpi; no more than that, and no text runs into the next.
        const int statusLabels = static_cast<int>(MainControl::lblStimmenModus) + 1;
        for (int i = 0; i < statusLabels; ++i) {
            const QLabel *lbl = label(window, mainControlName(static_cast<MainControl>(i)));
            const QStringList shown = texts.value(lbl->objectName(), {lbl->text()});
            for (const QString &text : shown)
                add(clipped(lbl, lbl->rect(), lbl->alignment(), text, 3));
            if (i + 1 < statusLabels) {
                const QLabel *next =
                    label(window, mainControlName(static_cast<MainControl>(i + 1)));
                if (inkRight(lbl, shown) >= next->x())
                    faults << QStringLiteral("%1 runs into %2")
                                  .arg(lbl->objectName(), next->objectName());
            }
        }
        for (const char *name : {"cmdBingo", "cmdWeiter", "cmdZahlenTafel"}) {
            const QPushButton *b = button(window, name);
            QStyleOptionButton option;
            option.initFrom(b);
            option.text = b->text();
            const QRect area =
                b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
            const QStringList captions = texts.value(b->objectName()) << b->text();
            for (const QString &text : captions)
                add(clipped(b, area, Qt::AlignCenter, text));
        }

        // The number display: a two-digit number, then "Bingo!" in the claim's size.
        QLabel *display = label(window, "lblZahlenfeld");
        action(window, QStringLiteral("mnuNew"))->trigger();
        click(window, QStringLiteral("cmdWeiter"));
        QVERIFY(!display->text().isEmpty());
        add(clipped(display, display->rect(), display->alignment(), QStringLiteral("88")));
        click(window, QStringLiteral("cmdBingo"));
        add(clipped(display, display->rect(), display->alignment(), QStringLiteral("Bingo!")));

        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n"))));
    }
};

QTEST_MAIN(TestScreen)
#include "test_screen.moc"
