// The help window (which picture each topic shows, and when) and the about
// window (its version, closing it, starting the system information program or
// the message that there is none; per system in <system>/sysinfocases.h).
#include "fakes/fakes.h"
#include "fakes/testkit.h"
#include "ui/help/helpwindow.h"
#include "platform/qt/qtresources.h"
#include "ui/about/aboutwindow.h"

#include "nativeplatform.h"
#include "sysinfocases.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QtTest>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

// A window on view, on fakes with the real pictures and system-info launcher.
template <class Window>
struct Shown {
    FakeServices f;
    QtResources resources;
    NativeSystemInfo launcher;
    QPointer<Window> w;

    template <class... Args>
    explicit Shown(NativeSystemInfo sysinfo, Args &&...args) : launcher(std::move(sysinfo))
    {
        Services s = f.services();
        s.resources = resources;
        s.sysinfo = launcher;
        w = new Window(s, std::forward<Args>(args)...);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->activateWindow();
    }
    ~Shown() { delete w.data(); }
    template <class Child = QWidget>
    Child *at(const char *name) const { return child<Child>(*w, QString::fromUtf8(name)); }
};

using About = Shown<AboutWindow>;

// The topics' pictures in list order, after the placeholder.
const QList<int> kTopics = {101, 102, 103, 104, 105, 107, 108, 110, 109};

// What makes the help picture follow the list.
enum Trigger { LeaveList, MoveOverWindow, MoveOverPicture };

struct Help : Shown<HelpWindow> {
    int mainShown = 0;

    Help() : Shown(sysinfocases::testLauncher(), [this] { ++mainShown; }) {}
    QComboBox *combo() const { return at<QComboBox>("cboThemen"); }
    // The picture on view, by the topic it belongs to; 0 for none.
    int shown() const
    {
        const QImage img = at<QLabel>("Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        for (int topic : kTopics)
            if (img == QImage::fromData(resources.picture(QStringLiteral("help-%1").arg(topic))).convertToFormat(img.format()))
                return topic;
        return 0;
    }
    void focusList()
    {
        combo()->setFocus();
        QTRY_VERIFY(combo()->hasFocus());
    }
    void trigger(Trigger how)
    {
        if (how == LeaveList) {
            focusList();
            QTest::keyClick(combo(), Qt::Key_Tab);
            QTRY_VERIFY(!combo()->hasFocus());
            return;
        }
        static int n = 0; // the same position twice makes no move event
        ++n;
        const QPoint free(4 + n % 2, w->height() - 4); // below the intro, left of the button
        QCOMPARE(w->childAt(free), nullptr);
        QTest::mouseMove(how == MoveOverWindow ? w.data() : at("Image1"),
                         how == MoveOverWindow ? free : QPoint(200 + n % 2, 100));
    }
};

} // namespace

class TestHelpAbout : public QObject {
    Q_OBJECT
private slots:
    // A topic shows its picture on the next trigger only, and only when its
    // text is in the list exactly; Esc leaves.
    void helpFromOpeningToLeaving()
    {
        Help x;
        QCOMPARE(x.combo()->count(), kTopics.size() + 1);
        QCOMPARE(x.shown(), 101);

        // Moves over the other controls are no trigger.
        x.combo()->setCurrentIndex(6);
        for (const char *name : {"lblEinführung", "lblThemen", "cmdZurück"}) {
            QTest::mouseMove(x.at(name), QPoint(3, 3));
            QTest::mouseMove(x.at(name), QPoint(6, 4));
        }
        QCOMPARE(x.shown(), 101);
        x.trigger(MoveOverPicture);
        QCOMPARE(x.shown(), 107);

        // Typed text counts only when it is a topic exactly.
        for (const QString typed : {"zahlengenerator", "Zahlengenerator ", "Zahlen", "Zahlengenerator"}) {
            x.focusList();
            x.combo()->lineEdit()->selectAll();
            QTest::keyClicks(x.combo()->lineEdit(), typed);
            QCOMPARE(x.shown(), 107); // typing alone changes nothing
            for (Trigger how : {LeaveList, MoveOverWindow, MoveOverPicture})
                x.trigger(how);
            QCOMPARE(x.shown(), typed == "Zahlengenerator" ? 105 : 107);
        }

        // The placeholder keeps the last picture; then each topic by arrow
        // key shows at once, and a topic typed whole with Enter.
        x.combo()->setCurrentIndex(0);
        x.trigger(MoveOverWindow);
        QCOMPARE(x.shown(), 105);
        for (int i = 0; i < kTopics.size(); ++i) {
            x.focusList();
            QTest::keyClick(x.combo(), Qt::Key_Down);
            QCOMPARE(x.shown(), kTopics[i]);
        }
        x.combo()->lineEdit()->selectAll();
        QTest::keyClicks(x.combo()->lineEdit(), "Kontrollblatt");
        QTest::keyClick(x.combo()->lineEdit(), Qt::Key_Return);
        QCOMPARE(x.shown(), 107);

        x.focusList();
        QTest::keyClick(x.combo(), Qt::Key_Escape);
        QTRY_VERIFY(x.w.isNull());
        QCOMPARE(x.mainShown, 1); // the main window comes to the front
    }

    void aboutShowsItsVersionAndClosesByOkEnterAndEsc()
    {
        for (const QString how : {"OK", "Enter", "Return", "Esc", "Esc on System-Info"}) {
            About x(sysinfocases::testLauncher());
            QCOMPARE(x.at<QLabel>("lblVersion")->text(), QStringLiteral("Version ") + version::kText);
            const auto *pic = x.at<QLabel>("picProduct"); // whole on view
            QVERIFY(x.w->rect().contains(pic->geometry()) && pic->size().expandedTo(pic->pixmap().size()) == pic->size());
            // The licence, whole in its box: changes are allowed, not forbidden.
            const auto *licence = x.at<QLabel>("lblDisclaimer");
            QVERIFY(licence->text().contains("GNU GPL, Version 3 oder später"));
            QVERIFY(QFontMetrics(licence->font()).boundingRect(licence->contentsRect(), Qt::TextWordWrap, licence->text()).height() <= licence->height());

            QWidget *focus = x.at(how == "Esc on System-Info" ? "cmdSysInfo" : "cmdOK");
            focus->setFocus();
            const Qt::Key key = how == "Enter" ? Qt::Key_Enter : how == "Return" ? Qt::Key_Return : Qt::Key_Escape;
            if (how == "OK")
                QTest::mouseClick(focus, Qt::LeftButton);
            else // to the window: a focused button would take Enter on its own
                QTest::keyClick(how == "Esc on System-Info" ? focus : x.w.data(), key);
            QTRY_VERIFY2(x.w.isNull(), qPrintable(how));
            QVERIFY(x.f.messages.shown.isEmpty());
        }
    }

    // The program found is started, without waiting; where none can be, the
    // message on every press (then by Enter on it). The about window stays.
    void aboutStartsTheSystemInfoProgramOrSaysSo()
    {
        sysinfocases::forEachSetup([](const QString &want, const std::function<QString()> &started) {
            About x(sysinfocases::testLauncher());
            QTest::mouseClick(x.at("cmdSysInfo"), Qt::LeftButton);
            if (want.isEmpty()) {
                QTRY_VERIFY(x.at("cmdSysInfo")->hasFocus());
                QTest::keyClick(x.at("cmdSysInfo"), Qt::Key_Return);
            }
            QTRY_COMPARE_WITH_TIMEOUT(started(), want, 15000);
            QStringList boxes;
            for (const ShownBox &box : x.f.messages.shown)
                boxes << box.title + '|' + box.text + (box.buttons == MsgButtons::Ok ? "|OK" : "|?");
            const QString none = QStringLiteral("Kugelfon|Systeminformationsprogramm zur Zeit nicht verfügbar.|OK");
            QCOMPARE(boxes, want.isEmpty() ? QStringList(2, none) : QStringList());
            QVERIFY(x.w && x.w->isVisible());
        });
    }
};

QTEST_MAIN(TestHelpAbout)
#include "test_helpabout.moc"
