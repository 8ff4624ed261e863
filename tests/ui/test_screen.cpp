// Runs on real offscreen screens of several sizes (see CMakeLists.txt).
#include "helpers.h"

#include "platform/qtscreenmetrics.h"

#include <QGuiApplication>
#include <QScreen>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

struct Expected {
    int bildArt;
    int font;
    // cmdWeiter and lblZahlModus in twips where the numbers are known.
    std::optional<QRectF> weiter;
    std::optional<QRectF> zahlModus;
};

Expected expectedFor(int w, int h, double dpi)
{
    if (dpi != 96)
        return {w == 1024 && h == 768 ? 3 : 0, w == 1024 ? 14 : 0, {}, {}};
    if (w == 1280 && h == 1024)
        return {4, 16, QRectF(6540, 13800, 4537.5, 412.5), QRectF(264, 120, 1930.5, 361)};
    if (w == 1024 && h == 768)
        return {3, 14, QRectF(5232, 9936, 4021.875, 480), QRectF(249.6, 120, 2106, 361)};
    if (w == 640 && h == 480)
        return {1, 8, {}, QRectF(170.4, 120, 1406.74, 361)};
    if (w == 800 && h == 600)
        return {2, 12, {}, {}};
    return {0, 0, {}, {}};
}

QRect pixels(const QRectF &twips, double tpp)
{
    return QRect(qRound(twips.x() / tpp), qRound(twips.y() / tpp), qRound(twips.width() / tpp),
                 qRound(twips.height() / tpp));
}

} // namespace

class TestScreen : public QObject {
    Q_OBJECT
private slots:
    void layoutOrRefusal()
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        QVERIFY(screen);
        const int w = screen->size().width();
        const int h = screen->size().height();
        const double dpi = screen->logicalDotsPerInchX();
        const Expected expected = expectedFor(w, h, dpi);
        const double tpp = 1440.0 / dpi;

        QtScreenMetrics real;
        Harness harness([&](Services &s) { s.screen = &real; });
        const FakeServices &fakes = harness.f;
        MainWindow &window = harness.w();
        const bool loaded = harness.loaded;

        QCOMPARE(harness.settings.screen.widthPx, w);
        QCOMPARE(harness.settings.screen.heightPx, h);
        QCOMPARE(harness.settings.screen.widthTwips, qRound(w * tpp));
        QCOMPARE(window.screenLayout().level, expected.bildArt);

        if (expected.bildArt == 0) {
            QVERIFY(!loaded);
            QCOMPARE(fakes.messages.shown.size(), 1);
            QCOMPARE(fakes.messages.shown.first().text,
                     QStringLiteral("Diese Auflösung  %1 x %2 wird nicht unterstützt.").arg(w).arg(h));
            QCOMPARE(fakes.messages.shown.first().buttons, MsgButtons::Ok);
            QCOMPARE(fakes.messages.shown.first().title, QStringLiteral("Kugelfon"));
            QCOMPARE(fakes.app.quits, 1);
            QVERIFY(!window.isVisible());
            // Nothing was scaled: the design size of the buttons is kept.
            QCOMPARE(button(window, "cmdWeiter")->font().pointSizeF(), 12.0);
            return;
        }

        QVERIFY(loaded);
        QVERIFY(fakes.messages.shown.isEmpty());
        QCOMPARE(fakes.app.quits, 0);
        for (const char *name : {"cmdBingo", "cmdWeiter", "cmdZahlenTafel"})
            QCOMPARE(button(window, name)->font().pointSize(), expected.font);
        for (const char *name : {"lblZahlModus", "lblModusZahl", "lblStimmenModus"})
            QCOMPARE(label(window, name)->font().pointSize(), expected.font);
        QVERIFY(label(window, "lblModusZahl")->font().underline());
        QVERIFY(label(window, "lblZahlModus")->font().bold());
        if (expected.weiter)
            QCOMPARE(button(window, "cmdWeiter")->geometry(), pixels(*expected.weiter, tpp));
        if (expected.zahlModus)
            QCOMPARE(label(window, "lblZahlModus")->geometry(), pixels(*expected.zahlModus, tpp));

        // Every control the layout moved sits where the layout put it.
        const ScreenLayout &l = window.screenLayout();
        for (int i = 0; i < kMainControlCount; ++i) {
            const auto c = static_cast<MainControl>(i);
            const TwipRect r = l.rect(c);
            auto *widget = window.findChild<QWidget *>(QString::fromLatin1(mainControlName(c)));
            QVERIFY(widget);
            QCOMPARE(widget->geometry(), pixels(QRectF(r.left, r.top, r.width, r.height), tpp));
        }
        // Resizing later moves nothing.
        const QRect before = button(window, "cmdWeiter")->geometry();
        window.resize(400, 300);
        QCoreApplication::processEvents();
        QCOMPARE(button(window, "cmdWeiter")->geometry(), before);
    }
};

QTEST_MAIN(TestScreen)
#include "test_screen.moc"
