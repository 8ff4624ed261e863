// What the program decides from plain values, before or without windows: the
// Qt platform it starts on, the main window's geometry on each of the four
// screens (in twips: every factor of each level shows in one of the rows),
// and where the hall display goes.
#include "app/display.h"
#include "ui/hall/hallplacement.h"
#include "ui/main/layout.h"

#include <QtTest>

using namespace kugelfon;
using Kind = HallPlacement::Kind;
Q_DECLARE_METATYPE(Kind)

class TestChoices : public QObject {
    Q_OBJECT
private slots:
    // "control left top width height", several separated by ", ".
    void scaledGeometry_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("twips");
        QTest::newRow("1280") << 1280 << "lblZahlModus 264.00 120.00 1930.50 361.00, frmZahl 180.00 540.00 18855.00 13030.95, lblZahlenfeld 540.20 899.80 16663.50 9847.50, cmdBingo 1020.00 13800.00 4537.50 412.50, cmdWeiter 6540.00 13800.00 4537.50 412.50, cmdZahlenTafel 12420.00 13800.00 4537.50 412.50";
        QTest::newRow("1024") << 1024 << "lblZahlModus 249.60 120.00 2106.00 361.00, frmZahl 144.00 575.10 15060.43 9205.35, lblZahlenfeld 576.20 899.80 12225.94 7575.00, cmdWeiter 5232.00 9936.00 4021.88 480.00";
        QTest::newRow("800") << 800 << "lblZahlModus 195.00 120.00 1439.65 361.00, frmZahl 112.50 556.20 11379.29 6694.80, lblZahlenfeld 225.20 351.36 9763.77 6060.00, cmdWeiter 4087.50 7439.06 3142.09 328.13";
        QTest::newRow("640") << 640 << "frmZahl 90.00 575.10 9412.77 5021.10, lblZahlenfeld 85.70 133.39 8490.23 4545.00, lblZahlModus 170.40 120.00 1406.74 361.00, cmdBingo 510.00 5757.19 2745.70 320.63";
    }
    void scaledGeometry()
    {
        QFETCH(int, width);
        QFETCH(QString, twips);
        ScreenMeasure m;
        m.twipsPerPixelX = m.twipsPerPixelY = 15;
        m.twipsWidth = width * 15.0;
        m.twipsHeight = width * 15.0 * (width == 1280 ? 0.8 : 0.75);
        const ScreenLayout layout = computeScreenLayout(m);
        for (const QString &want : twips.split(", ")) { // each control on its own, named first
            int c = 0;
            while (c < kMainControlCount && !want.startsWith(mainControlName(MainControl(c)) + QString(' ')))
                ++c;
            QVERIFY2(c < kMainControlCount, qPrintable(want));
            const TwipRect r = layout.rect(MainControl(c));
            QCOMPARE(mainControlName(MainControl(c)) + QString::asprintf(" %.2f %.2f %.2f %.2f", r.left, r.top, r.width, r.height), want);
        }
    }
    // The platform from QT_QPA_PLATFORM, WAYLAND_DISPLAY, DISPLAY and the plugins
    // at hand ("all but F"): X11 where offered, an explicit choice wins; a
    // missing plugin is named with its package.
    void platformChoice_data()
    {
        QTest::addColumn<QByteArrayList>("env");
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("choice"); // the platform, or the German line
        const auto row = [](const char *name, QByteArrayList env, const char *installed, const QString &choice) {
            QTest::newRow(name) << env << QString(installed) << choice;
        };
        const char *noWayland = "all but libqwayland-generic.so";
        const char *missing = "Kugelfon: Die Qt-Plattform „%1“ ist nicht installiert; sie kommt mit dem Debian-Paket %2.";
        const auto lacks = [&](const char *platform, const char *package) { return QString(missing).arg(platform, package); };
        row("X11 and Wayland", {"", "wayland-0", ":0"}, "all", "xcb");
        row("X11", {"", "", ":0"}, "all", "xcb");
        row("Wayland alone", {"", "wayland-0", ""}, "all", "wayland");
        row("explicit", {"wayland", "wayland-0", ":0"}, "all", "wayland");
        row("explicit, arguments", {"offscreen:configfile=a.json", "", ""}, "all", "offscreen:configfile=a.json");
        row("a list, one there", {"wayland;xcb", "", ":0"}, noWayland, "wayland;xcb");
        row("of its own", {"eigene", "", ""}, "all", "eigene");
        row("Wayland alone, no plugin", {"", "wayland-0", ""}, noWayland, lacks("wayland", "qt6-wayland"));
        row("explicit, no plugin", {"wayland", "", ":0"}, noWayland, lacks("wayland", "qt6-wayland"));
        row("no xcb", {"", "wayland-0", ":0"}, "all but libqxcb.so", lacks("xcb", "libqt6gui6"));
        row("no vnc", {"vnc:size=800x600", "", ""}, "all but libqvnc.so", lacks("vnc", "qt6-qpa-plugins"));
        const char *noX = "Kugelfon: Die Qt-Plattform „xcb“ braucht eine X11-Anzeige, aber DISPLAY ist nicht gesetzt.";
        row("xcb, Wayland alone", {"xcb", "wayland-0", ""}, "all", noX);
        row("a list, neither there", {"wayland;xcb", "wayland-0", ""}, noWayland, lacks("wayland", "qt6-wayland"));
        // After "|", the display named should Qt not open it after all.
        row("a list, no X display", {"xcb;wayland", "", ""}, "all", "xcb;wayland|wayland-0");
        row("a list, X11 tried", {"wayland;xcb", "wayland-0", ":5"}, noWayland, "wayland;xcb|:5");
    }
    void platformChoice()
    {
        QFETCH(QByteArrayList, env);
        QFETCH(QString, installed);
        QFETCH(QString, choice);
        QStringList files = {"libqeglfs.so", "libqminimal.so", "libqoffscreen.so", "libqvnc.so", "libqxcb.so",
                             "libqwayland-egl.so", "libqwayland-generic.so"};
        files.removeAll(installed.section(' ', 2));
        const PlatformChoice c = choosePlatform(env[0], env[1], env[2], files);
        const QString named = choice.contains('|') ? '|' + c.unopened.section("„", 1).section("“", 0, 0) : QString();
        QCOMPARE(c.problem.isEmpty() ? c.platform + named : c.problem, choice);
    }

    // Full-screen only on a screen apart from the organiser's screen and window;
    // otherwise a window beside the organiser's, or behind it.
    void hallPlacement_data()
    {
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("main"); // with its frame
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("on"); // the screen it goes to
        const auto row = [](const char *name, const QList<QRect> &screens, const QRect &main, Kind kind, int on) {
            QTest::newRow(name) << screens << main << kind << on;
        };
        const QRect a(0, 0, 1280, 1024), b(1280, 0, 1920, 1080), laptop(0, 0, 1920, 1080), projector(0, 0, 1024, 768);
        const QRect inMiddle(316, 11, 1288, 1058); // 1280 x 1024 with its frame on the laptop
        row("one screen, main maximized", {a}, a, Kind::Behind, 0);
        row("one wide screen, main in the middle", {laptop}, inMiddle, Kind::Corner, 0);
        row("800x600 in the middle of 1024x768", {projector}, QRect(108, 51, 808, 634), Kind::Behind, 0);
        row("side by side", {a, b}, a, Kind::FullScreen, 1);
        row("main on the second", {a, b}, b, Kind::FullScreen, 0);
        row("main off every screen", {a, b}, QRect(5000, 0, 800, 600), Kind::FullScreen, 1);
        row("main across both", {a, b}, QRect(1000, 0, 800, 600), Kind::Corner, 1);
        row("mirrored, main on the projector", {projector, laptop}, projector, Kind::Corner, 1);
        row("mirrored, main on the laptop", {laptop, projector}, inMiddle, Kind::Corner, 0);
        row("mirrored pair and a third", {a, a, b}, a, Kind::FullScreen, 2);
        row("a screen half over the main one", {a, QRect(900, 0, 800, 600), b}, a, Kind::FullScreen, 2);
    }
    void hallPlacement()
    {
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, main);
        QFETCH(Kind, kind);
        QFETCH(int, on);
        const QMargins frame(4, 30, 4, 4);
        const HallPlacement p = placeHall(screens, main, frame);
        QCOMPARE(int(p.kind), int(kind));
        if (p.kind == Kind::FullScreen) {
            QCOMPARE(p.rect, screens[on]);
            return;
        }
        const QRect framed = p.rect.marginsAdded(frame);
        QVERIFY2(screens[on].contains(framed), qPrintable(QDebug::toString(p.rect)));
        QVERIFY(p.rect.width() >= kHallMinimumSize.width() && p.rect.height() >= kHallMinimumSize.height());
        QVERIFY(p.rect.width() <= std::max(640, screens[on].width() / 2));
        if (p.kind == Kind::Corner) {
            QVERIFY2(!framed.intersects(main), qPrintable(QDebug::toString(p.rect)));
            QVERIFY(framed.left() == screens[on].left() || framed.right() == screens[on].right()
                    || framed.top() == screens[on].top() || framed.bottom() == screens[on].bottom());
        }
    }
};

QTEST_GUILESS_MAIN(TestChoices)
#include "test_choices.moc"
