// The help window: the topic list, which built-in picture each topic shows
// and when, and how the window goes away.
#include "fakes/fakes.h"
#include "help/helpwindow.h"
#include "platform/qtresources.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace kugelfon;

namespace {

const QString kPlaceholder = QStringLiteral("bitte wählen Sie ein Schlagwort oder Thema aus ...");
// The topics in list order, after the placeholder, and their pictures.
const QList<std::pair<QString, int>> kTopics = {
    {QStringLiteral("Spiel starten"), 101},        {QStringLiteral("Stimmenmodus einstellen"), 102},
    {QStringLiteral("Schaltmodus einstellen"), 103}, {QStringLiteral("Zeitintervall einstellen"), 104},
    {QStringLiteral("Zahlengenerator"), 105},       {QStringLiteral("Kontrollblatt"), 107},
    {QStringLiteral("Spielschein drucken"), 108},   {QStringLiteral("Kontaktmöglichkeiten"), 109}};

QImage picture(int id)
{
    static QMap<int, QImage> loaded;
    if (!loaded.contains(id))
        loaded[id] = QtResources().picture(QStringLiteral("help-%1").arg(id)).convertToFormat(QImage::Format_RGB32);
    return loaded[id];
}

struct Fixture {
    test::FakeServices f;
    QtResources resources;
    int mainShown = 0;
    QPointer<HelpWindow> w;

    Fixture()
    {
        Services s = f.services();
        s.resources = &resources;
        w = new HelpWindow(s, [this] { ++mainShown; });
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    ~Fixture() { delete w.data(); }

    QComboBox *combo() const { return w->findChild<QComboBox *>(QStringLiteral("cboThemen")); }
    QLabel *image() const { return w->findChild<QLabel *>(QStringLiteral("Image1")); }
    QPushButton *back() const { return w->findChild<QPushButton *>(QStringLiteral("cmdZurück")); }
    // The picture on view, by the topic it belongs to; 0 for none.
    int shown() const
    {
        const QImage img = image()->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        for (const auto &topic : kTopics)
            if (img == picture(topic.second))
                return topic.second;
        return 0;
    }
    // The same position twice makes no move event, so each move starts from
    // a quiet place: the introduction, which must not change the picture.
    void moveAway()
    {
        static int n = 0;
        QTest::mouseMove(w->findChild<QLabel *>(QStringLiteral("lblEinführung")), QPoint(5 + (++n % 20), 5));
    }
    void moveOverFreeArea()
    {
        moveAway();
        const QPoint free(4, w->height() - 4); // below the intro, left of the button
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
    void topicShowsItsPictureOnTheNextTrigger_data();
    void topicShowsItsPictureOnTheNextTrigger();
    void typedTextMatchesExactly();
    void placeholderKeepsLastPicture();
    void movesOverOtherControlsChangeNothing();
    void leavingShowsMainWindowAndDiscards();
};

void TestHelpWindow::opensWithPlaceholderAndFirstPicture()
{
    Fixture x;
    QCOMPARE(x.w->windowTitle(), QStringLiteral("Kugelfon 1.1 - Anleitung und Hilfe"));
    QCOMPARE(x.w->size(), QSize(515, 535)); // 7725 x 8025 twips
    QStringList expected{kPlaceholder};
    for (const auto &topic : kTopics)
        expected.append(topic.first);
    QStringList items;
    for (int i = 0; i < x.combo()->count(); ++i)
        items.append(x.combo()->itemText(i));
    QCOMPARE(items, expected);
    QCOMPARE(x.combo()->currentText(), kPlaceholder);
    QCOMPARE(x.shown(), 101);
    QCOMPARE(x.mainShown, 0);
}

void TestHelpWindow::topicShowsItsPictureOnTheNextTrigger_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("trigger");
    // Every topic, and every trigger for some of them.
    for (int i = 0; i < kTopics.size(); ++i)
        QTest::newRow(qPrintable(kTopics[i].first)) << i + 1 << i % 3;
}

void TestHelpWindow::topicShowsItsPictureOnTheNextTrigger()
{
    QFETCH(int, index);
    QFETCH(int, trigger);
    const int picture = kTopics[index - 1].second;
    Fixture x;
    x.combo()->setCurrentIndex(index == 3 ? 2 : 3); // start from another picture
    x.leaveList();
    const int before = x.shown();
    QVERIFY(before != picture);
    // Chosen with the arrow keys: that alone changes nothing.
    x.combo()->setFocus();
    QTRY_VERIFY(x.combo()->hasFocus());
    while (x.combo()->currentIndex() != index)
        QTest::keyClick(x.combo(), x.combo()->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(x.shown(), before);
    if (trigger == 0)
        x.leaveList();
    else if (trigger == 1)
        x.moveOverFreeArea();
    else
        x.moveOverImage();
    QCOMPARE(x.shown(), picture);
}

void TestHelpWindow::typedTextMatchesExactly()
{
    Fixture x;
    QLineEdit *edit = x.combo()->lineEdit();
    for (const QString &near : {QStringLiteral("kontrollblatt"), QStringLiteral("Kontrollblatt "),
                                QStringLiteral("Kontroll"), QStringLiteral("Kontrollblatt")}) {
        x.combo()->setFocus();
        QTRY_VERIFY(x.combo()->hasFocus());
        edit->selectAll();
        QTest::keyClicks(edit, near);
        QCOMPARE(x.shown(), 101); // typing alone changes nothing
        QTest::keyClick(x.combo(), Qt::Key_Tab);
        QTRY_VERIFY(!x.combo()->hasFocus());
        x.moveOverFreeArea();
        x.moveOverImage();
        QCOMPARE(x.shown(), near == QStringLiteral("Kontrollblatt") ? 107 : 101);
    }
}

void TestHelpWindow::placeholderKeepsLastPicture()
{
    Fixture x;
    x.combo()->setCurrentIndex(8);
    x.moveOverImage();
    QCOMPARE(x.shown(), 109);
    x.combo()->setCurrentIndex(0);
    x.leaveList();
    x.moveOverFreeArea();
    x.moveOverImage();
    QCOMPARE(x.shown(), 109);
}

void TestHelpWindow::movesOverOtherControlsChangeNothing()
{
    Fixture x;
    x.combo()->setCurrentIndex(6);
    for (const char *name : {"lblEinführung", "lblThemen", "cmdZurück"}) {
        auto *child = x.w->findChild<QWidget *>(QString::fromUtf8(name));
        QTest::mouseMove(child, QPoint(3, 3));
        QTest::mouseMove(child, QPoint(6, 4));
        QCOMPARE(x.shown(), 101);
    }
    x.moveOverImage();
    QCOMPARE(x.shown(), 107);
}

void TestHelpWindow::leavingShowsMainWindowAndDiscards()
{
    for (const QString how : {"esc", "esc-list", "button", "close"}) {
        Fixture x;
        if (how == "esc") {
            x.back()->setFocus();
            QTest::keyClick(x.back(), Qt::Key_Escape);
        } else if (how == "esc-list") {
            x.combo()->setFocus();
            QTRY_VERIFY(x.combo()->hasFocus());
            QTest::keyClick(x.combo(), Qt::Key_Escape);
        } else if (how == "button") {
            QTest::mouseClick(x.back(), Qt::LeftButton);
        } else {
            QVERIFY(x.w->close());
        }
        QTRY_VERIFY2(x.w.isNull(), qPrintable(how));
        QCOMPARE(x.mainShown, 1);
    }
}

QTEST_MAIN(TestHelpWindow)
#include "test_helpwindow.moc"
