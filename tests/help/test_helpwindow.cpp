// The help window: what it shows on opening, which topic text leads to which
// picture and when, and how it goes away.
#include "fakes/fakes.h"
#include "help/helpwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

// Each picture is a plain image whose red channel is the identifier, so the
// picture on view can be read back from the widget.
class PictureResources final : public IResources {
public:
    QByteArray recording(int) const override { return {}; }
    QImage picture(const QString &name) const override
    {
        requested.append(name);
        if (!name.startsWith(QLatin1String("help-")))
            return {};
        const int id = name.mid(5).toInt() - 100;
        QImage img(20, 10, QImage::Format_RGB32);
        img.fill(QColor(id, 255, 255));
        return img;
    }
    mutable QStringList requested;
};

struct Fixture {
    FakeServices f;
    PictureResources pictures;
    int mainShown = 0;
    QPointer<HelpWindow> w;

    Fixture()
    {
        Services s = f.services();
        s.resources = &pictures;
        w = new HelpWindow(s, [this] { ++mainShown; });
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    ~Fixture() { delete w.data(); }

    QComboBox *combo() const { return w->findChild<QComboBox *>(QStringLiteral("cboThemen")); }
    QLabel *image() const { return w->findChild<QLabel *>(QStringLiteral("Image1")); }
    QPushButton *back() const { return w->findChild<QPushButton *>(QStringLiteral("cmdZurück")); }
    // The identifier of the picture the widget shows, 0 for none.
    int shown() const
    {
        const QImage img = image()->pixmap().toImage();
        return img.isNull() ? 0 : 100 + qRed(img.pixel(0, 0));
    }
    void pick(int index) { combo()->setCurrentIndex(index); }
    // The same position twice makes no move event, so each move starts from
    // a quiet place: the introduction, which must not change the picture.
    void moveAway()
    {
        static int n = 0;
        auto *intro = w->findChild<QWidget *>(QStringLiteral("lblEinführung"));
        QTest::mouseMove(intro, QPoint(5 + (++n % 20), 5));
    }
    void moveOverFreeArea()
    {
        moveAway();
        // Below the intro, left of the combo box: nothing but the window.
        const QPoint free(4, w->height() - 4);
        QCOMPARE(w->childAt(free), nullptr);
        QTest::mouseMove(w, free);
    }
    void moveOverImage()
    {
        moveAway();
        QTest::mouseMove(image(), QPoint(200, 100));
    }
    void leaveList()
    {
        combo()->setFocus();
        QTRY_VERIFY(combo()->hasFocus());
        QTest::keyClick(combo(), Qt::Key_Tab);
        QTRY_VERIFY(!combo()->hasFocus());
    }
};

} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT
private slots:
    void opensWithPlaceholderAndFirstPicture();
    void everyTopicShowsItsPictureOnEachTrigger_data();
    void everyTopicShowsItsPictureOnEachTrigger();
    void typedTextMatchesExactly();
    void arrowKeysChangeNothingUntilFocusLeaves();
    void placeholderKeepsLastPicture();
    void leavingShowsMainWindowAndDiscards_data();
    void leavingShowsMainWindowAndDiscards();
    void movesOverOtherControlsChangeNothing();
};

void TestHelpWindow::opensWithPlaceholderAndFirstPicture()
{
    Fixture x;
    QCOMPARE(x.w->objectName(), QStringLiteral("frmHilfe"));
    QCOMPARE(x.w->windowTitle(), QStringLiteral("Kugelfon 1.1 - Anleitung und Hilfe"));
    QVERIFY(x.w->isWindow());
    QVERIFY(x.w->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(x.w->size(), QSize(515, 535)); // 7725 x 8025 twips at 15 per pixel

    QCOMPARE(x.combo()->currentText(),
             QStringLiteral("bitte wählen Sie ein Schlagwort oder Thema aus ..."));
    QVERIFY(x.combo()->isEditable());
    const QStringList expected = {
        QStringLiteral("bitte wählen Sie ein Schlagwort oder Thema aus ..."),
        QStringLiteral("Spiel starten"),
        QStringLiteral("Stimmenmodus einstellen"),
        QStringLiteral("Schaltmodus einstellen"),
        QStringLiteral("Zeitintervall einstellen"),
        QStringLiteral("Zahlengenerator"),
        QStringLiteral("Kontrollblatt"),
        QStringLiteral("Spielschein drucken"),
        QStringLiteral("Kontaktmöglichkeiten"),
    };
    QStringList items;
    for (int i = 0; i < x.combo()->count(); ++i)
        items.append(x.combo()->itemText(i));
    QCOMPARE(items, expected);
    QVERIFY(x.combo()->font().bold());
    QCOMPARE(QFontInfo(x.combo()->font()).pixelSize(), 11); // 8.25 pt at 96 dpi

    QCOMPARE(x.shown(), 101);
    QCOMPARE(x.pictures.requested, QStringList{QStringLiteral("help-101")});

    auto *intro = x.w->findChild<QLabel *>(QStringLiteral("lblEinführung"));
    QVERIFY(intro);
    QVERIFY(intro->text().startsWith(QStringLiteral("Willkommen im Anleitungs- und Hilfeteil")));
    QVERIFY(intro->text().endsWith(QStringLiteral("können Sie uns jeder Zeit kontaktieren.")));
    QCOMPARE(x.w->findChild<QLabel *>(QStringLiteral("lblThemen"))->text(),
             QStringLiteral("Schlagworte und Themen:"));
    QCOMPARE(x.back()->text(), QStringLiteral("Hilfe verlassen und Zurück"));
    QCOMPARE(x.mainShown, 0);
}

void TestHelpWindow::everyTopicShowsItsPictureOnEachTrigger_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("picture");
    QTest::addColumn<QString>("trigger");
    const QList<int> pictures = {101, 102, 103, 104, 105, 107, 108, 109};
    for (const char *trigger : {"focus", "window", "image"})
        for (int i = 0; i < pictures.size(); ++i)
            QTest::addRow("%s-%d", trigger, pictures[i])
                << i + 1 << pictures[i] << QString::fromLatin1(trigger);
}

void TestHelpWindow::everyTopicShowsItsPictureOnEachTrigger()
{
    QFETCH(int, index);
    QFETCH(int, picture);
    QFETCH(QString, trigger);
    Fixture x;
    // Start from a picture that is none of the candidates' own.
    x.pick(index == 3 ? 2 : 3);
    x.leaveList();
    const int before = x.shown();
    QVERIFY(before != picture);

    x.pick(index);
    QCOMPARE(x.shown(), before); // choosing alone changes nothing
    if (trigger == QLatin1String("focus"))
        x.leaveList();
    else if (trigger == QLatin1String("window"))
        x.moveOverFreeArea();
    else
        x.moveOverImage();
    QCOMPARE(x.shown(), picture);
    QCOMPARE(x.w->shownPicture(), picture);
    QCOMPARE(x.pictures.requested.last(), QStringLiteral("help-%1").arg(picture));
}

void TestHelpWindow::typedTextMatchesExactly()
{
    Fixture x;
    QLineEdit *edit = x.combo()->lineEdit();
    x.combo()->setFocus();
    QTRY_VERIFY(x.combo()->hasFocus());

    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("kontrollblatt"));
    QCOMPARE(x.combo()->currentText(), QStringLiteral("kontrollblatt"));
    QTest::keyClick(x.combo(), Qt::Key_Tab);
    QTRY_VERIFY(!x.combo()->hasFocus());
    x.moveOverFreeArea();
    x.moveOverImage();
    QCOMPARE(x.shown(), 101);

    for (const QString &near : {QStringLiteral("Kontrollblatt "), QStringLiteral("Kontroll")}) {
        x.combo()->setEditText(near);
        x.leaveList();
        QCOMPARE(x.shown(), 101);
    }

    x.combo()->setFocus();
    QTRY_VERIFY(x.combo()->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Kontrollblatt"));
    QCOMPARE(x.shown(), 101); // typing alone changes nothing
    QTest::keyClick(x.combo(), Qt::Key_Tab);
    QTRY_COMPARE(x.shown(), 107);
}

void TestHelpWindow::arrowKeysChangeNothingUntilFocusLeaves()
{
    Fixture x;
    x.combo()->setFocus();
    QTRY_VERIFY(x.combo()->hasFocus());
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(x.combo(), Qt::Key_Down);
    QCOMPARE(x.combo()->currentText(), QStringLiteral("Kontrollblatt"));
    QCOMPARE(x.shown(), 101);
    QTest::keyClick(x.combo(), Qt::Key_Tab);
    QTRY_COMPARE(x.shown(), 107);
}

void TestHelpWindow::placeholderKeepsLastPicture()
{
    Fixture x;
    x.pick(8);
    x.moveOverImage();
    QCOMPARE(x.shown(), 109);
    const int loads = x.pictures.requested.size();
    x.pick(0);
    x.leaveList();
    x.moveOverFreeArea();
    x.moveOverImage();
    QCOMPARE(x.shown(), 109);
    QCOMPARE(x.pictures.requested.size(), loads);
}

void TestHelpWindow::leavingShowsMainWindowAndDiscards_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc") << QStringLiteral("esc");
    QTest::newRow("Esc in list") << QStringLiteral("esc-list");
    QTest::newRow("button") << QStringLiteral("button");
    QTest::newRow("close box") << QStringLiteral("close");
}

void TestHelpWindow::leavingShowsMainWindowAndDiscards()
{
    QFETCH(QString, how);
    Fixture x;
    if (how == QLatin1String("esc")) {
        x.back()->setFocus();
        QTest::keyClick(x.back(), Qt::Key_Escape);
    } else if (how == QLatin1String("esc-list")) {
        x.combo()->setFocus();
        QTRY_VERIFY(x.combo()->hasFocus());
        QTest::keyClick(x.combo(), Qt::Key_Escape);
    } else if (how == QLatin1String("button")) {
        QTest::mouseClick(x.back(), Qt::LeftButton);
    } else {
        QVERIFY(x.w->close());
    }
    QCOMPARE(x.mainShown, 1);
    QTRY_VERIFY(x.w.isNull());
    QCOMPARE(x.mainShown, 1);
}

void TestHelpWindow::movesOverOtherControlsChangeNothing()
{
    Fixture x;
    x.pick(6);
    for (const char *name : {"lblEinführung", "lblThemen", "cmdZurück"}) {
        auto *child = x.w->findChild<QWidget *>(QString::fromUtf8(name));
        QVERIFY2(child, name);
        QTest::mouseMove(child, QPoint(3, 3));
        QTest::mouseMove(child, QPoint(6, 4));
        QCOMPARE(x.shown(), 101);
    }
    x.moveOverImage();
    QCOMPARE(x.shown(), 107);
}

QTEST_MAIN(TestHelpWindow)
#include "test_helpwindow.moc"
