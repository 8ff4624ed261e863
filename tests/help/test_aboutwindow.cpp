// The about window: texts rebuilt on each opening, the ways to close it, and
// starting the system information program found in PATH, or the message.
#include "ui/about/aboutwindow.h"
#include "fakes/fakes.h"
#include "platform/desktopsysinfo.h"
#include "platform/qtresources.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kugelfon;

namespace {

// PATH for the length of one test.
class PathGuard {
public:
    explicit PathGuard(const QString &path) : m_old(qgetenv("PATH")) { qputenv("PATH", path.toLocal8Bit()); }
    ~PathGuard() { qputenv("PATH", m_old); }

private:
    QByteArray m_old;
};

// A script that writes its argument count and arguments to <dir>/<name>.args.
void writeProgram(const QString &dir, const QString &name, const QByteArray &shebang = "#!/bin/sh")
{
    QFile f(dir + QLatin1Char('/') + name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(shebang + "\nprintf '%s|%s' \"$#\" \"$*\" > \"$0.args\"\n");
    f.close();
    QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

struct Fixture {
    test::FakeServices f;
    QtResources resources;
    DesktopSystemInfo launcher;
    QPointer<AboutWindow> w;

    explicit Fixture(bool withLauncher = true)
    {
        Services s = f.services();
        s.resources = &resources;
        s.sysinfo = withLauncher ? &launcher : nullptr;
        w = new AboutWindow(s);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->activateWindow();
    }
    ~Fixture() { delete w.data(); }
    QLabel *label(const char *name) const { return w->findChild<QLabel *>(QString::fromUtf8(name)); }
    QPushButton *button(const char *name) const { return w->findChild<QPushButton *>(name); }
};

} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT
private slots:
    void textsAreRebuiltOnEveryOpening();
    void closesByOkEnterEscAndFrame();
    void enterOnSysInfoPressesSysInfo();
    void startsFirstKnownProgramWithoutArguments_data();
    void startsFirstKnownProgramWithoutArguments();
    void saysSoWhenNoneCanBeStarted();
};

void TestAboutWindow::textsAreRebuiltOnEveryOpening()
{
    for (int opening = 0; opening < 2; ++opening) {
        Fixture x;
        QCOMPARE(x.w->windowTitle(), QStringLiteral("Kugelfon 1.1 - Information"));
        QCOMPARE(x.label("lblTitle")->text(), QStringLiteral("Kugelfon"));
        QCOMPARE(x.label("lblVersion")->text(), QStringLiteral("Version 1.1"));
        QCOMPARE(x.label("lblDisclaimer")->text(), QStringLiteral("Warnung: Jegliche Programmänderungen oder "
                                                                  "Verfälschungen sind zu unterlassen. Zudem wird    "
                                                                  "keine Haftung für verlorene Daten übernommen."));
        QCOMPARE(x.w->size(), QSize(420, 230)); // 6300 x 3450 twips
        // The whole product picture is on view.
        const QLabel *pic = x.label("picProduct");
        QCOMPARE(pic->pixmap().size(), QSize(62, 141));
        QVERIFY(x.w->rect().contains(pic->geometry()) && pic->width() >= 62 && pic->height() >= 141);
        QCOMPARE(x.button("cmdOK")->nextInFocusChain(), x.button("cmdSysInfo")); // tab order
        QTest::mouseClick(x.button("cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(x.w.isNull());
    }
}

void TestAboutWindow::closesByOkEnterEscAndFrame()
{
    for (const QString how : {"OK", "Enter", "Return", "Esc", "Esc on System-Info", "frame"}) {
        Fixture x;
        x.button("cmdOK")->setFocus();
        if (how == "OK")
            QTest::mouseClick(x.button("cmdOK"), Qt::LeftButton);
        else if (how == "Enter")
            QTest::keyClick(x.w, Qt::Key_Enter);
        else if (how == "Return")
            QTest::keyClick(x.w, Qt::Key_Return);
        else if (how == "Esc")
            QTest::keyClick(x.w, Qt::Key_Escape);
        else if (how == "frame")
            QVERIFY(x.w->close());
        else {
            x.button("cmdSysInfo")->setFocus();
            QTest::keyClick(x.button("cmdSysInfo"), Qt::Key_Escape);
        }
        QTRY_VERIFY2(x.w.isNull(), qPrintable(how));
        QVERIFY(x.f.messages.shown.isEmpty());
    }
}

void TestAboutWindow::enterOnSysInfoPressesSysInfo()
{
    QTemporaryDir empty;
    PathGuard path(empty.path());
    Fixture x;
    x.button("cmdSysInfo")->setFocus();
    QTRY_VERIFY(x.button("cmdSysInfo")->hasFocus());
    QTest::keyClick(x.button("cmdSysInfo"), Qt::Key_Return);
    QCOMPARE(x.f.messages.shown.size(), 1);
    QVERIFY(!x.w.isNull());
}

void TestAboutWindow::startsFirstKnownProgramWithoutArguments_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("started");
    QTest::newRow("all three") << QStringList{"xfce4-about", "kinfocenter", "hardinfo"} << "hardinfo";
    QTest::newRow("kinfocenter before xfce4-about") << QStringList{"xfce4-about", "kinfocenter"} << "kinfocenter";
    QTest::newRow("only xfce4-about") << QStringList{"xfce4-about"} << "xfce4-about";
}

void TestAboutWindow::startsFirstKnownProgramWithoutArguments()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, started);
    QTemporaryDir bin;
    for (const QString &name : installed)
        writeProgram(bin.path(), name);
    // A first PATH entry without any of them: the search goes on.
    QTemporaryDir other;
    PathGuard path(other.path() + QLatin1Char(':') + bin.path());

    Fixture x;
    QTest::mouseClick(x.button("cmdSysInfo"), Qt::LeftButton);
    QFile args(bin.path() + QLatin1Char('/') + started + QStringLiteral(".args"));
    QTRY_VERIFY_WITH_TIMEOUT(args.exists() && args.size() > 0, 10000);
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(args.readAll(), QByteArray("0|"));
    for (const QString &name : installed)
        QVERIFY2(name == started || !QFile::exists(bin.path() + QLatin1Char('/') + name + QStringLiteral(".args")),
                 qPrintable(name));
    QVERIFY(x.f.messages.shown.isEmpty());
    QVERIFY(x.w && x.w->isVisible());
}

void TestAboutWindow::saysSoWhenNoneCanBeStarted()
{
    for (const QString setup : {"none in PATH", "not executable", "start fails", "no launcher"}) {
        QTemporaryDir bin;
        if (setup == "not executable") {
            QFile f(bin.path() + QStringLiteral("/hardinfo"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\n");
        } else if (setup == "start fails") {
            writeProgram(bin.path(), QStringLiteral("hardinfo"), "#!/nonexistent/interpreter");
        }
        PathGuard path(bin.path());
        Fixture x(setup != "no launcher");
        // The window stays and can be used again.
        for (int press = 1; press <= 2; ++press) {
            QTest::mouseClick(x.button("cmdSysInfo"), Qt::LeftButton);
            QVERIFY2(x.f.messages.shown.size() == press, qPrintable(setup));
            const test::ShownBox box = x.f.messages.shown.last();
            QCOMPARE(box.text, QStringLiteral("Systeminformationsprogramm zur Zeit nicht verfügbar."));
            QCOMPARE(box.buttons, MsgButtons::Ok);
            QCOMPARE(box.title, QStringLiteral("Kugelfon"));
            QVERIFY(x.w && x.w->isVisible());
        }
    }
}

QTEST_MAIN(TestAboutWindow)
#include "test_aboutwindow.moc"
