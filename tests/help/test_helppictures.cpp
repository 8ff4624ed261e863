// The help pictures built into the program: eight of them, each found by its
// identifier, 500 x 373 in 24-bit colour without alpha, on the cyan page; and
// the help window shows the built-in one for each topic.
#include "ui/about/aboutwindow.h"
#include "fakes/fakes.h"
#include "help/helpwindow.h"
#include "platform/qtresources.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QtTest>

using namespace kugelfon;
using namespace kugelfon::test;

class TestHelpPictures : public QObject {
    Q_OBJECT
private slots:
    void eightPicturesOfTheRightFormat();
    void windowShowsTheBuiltInPictureOfEachTopic();
    void aboutWindowShowsTheWholeProductPicture();
};

void TestHelpPictures::eightPicturesOfTheRightFormat()
{
    QtResources resources;
    const QList<int> ids = {101, 102, 103, 104, 105, 107, 108, 109};
    QList<QImage> seen;
    for (int id : ids) {
        const QString name = QStringLiteral("help-%1").arg(id);
        QFile file(QStringLiteral(":/images/%1.png").arg(name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
        // PNG header: IHDR's bit depth 8 and colour type 2 (RGB, no alpha).
        const QByteArray head = file.read(26);
        QCOMPARE(head.mid(12, 4), QByteArray("IHDR"));
        QCOMPARE(int(quint8(head[24])), 8);
        QCOMPARE(int(quint8(head[25])), 2);

        const QImage img = resources.picture(name);
        QVERIFY2(!img.isNull(), qPrintable(name));
        QCOMPARE(img.size(), QSize(500, 373));
        QVERIFY(!img.hasAlphaChannel());
        QCOMPARE(img.pixelColor(0, 0), QColor(0, 255, 255));
        QCOMPARE(img.pixelColor(499, 372), QColor(0, 255, 255));
        for (const QImage &other : seen)
            QVERIFY2(other != img, qPrintable(name + QStringLiteral(" repeats another picture")));
        seen.append(img);
    }
    QVERIFY(resources.picture(QStringLiteral("help-106")).isNull());
    QVERIFY(!QFile::exists(QStringLiteral(":/images/help-106.png")));
}

void TestHelpPictures::windowShowsTheBuiltInPictureOfEachTopic()
{
    FakeServices f;
    QtResources resources;
    Services s = f.services();
    s.resources = &resources;
    QPointer<HelpWindow> w = new HelpWindow(s, {});
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    auto *image = w->findChild<QLabel *>(QStringLiteral("Image1"));
    auto *combo = w->findChild<QComboBox *>(QStringLiteral("cboThemen"));
    auto shown = [image] { return image->pixmap().toImage().convertToFormat(QImage::Format_RGB32); };
    auto file = [&resources](int id) {
        return resources.picture(QStringLiteral("help-%1").arg(id)).convertToFormat(QImage::Format_RGB32);
    };
    QCOMPARE(shown(), file(101));
    const QList<int> ids = {101, 102, 103, 104, 105, 107, 108, 109};
    for (int i = ids.size() - 1; i >= 0; --i) {
        combo->setCurrentIndex(i + 1);
        QTest::mouseMove(image, QPoint(10 + i, 10));
        QCOMPARE(shown(), file(ids[i]));
    }
    delete w.data();
}

void TestHelpPictures::aboutWindowShowsTheWholeProductPicture()
{
    FakeServices f;
    QtResources resources;
    Services s = f.services();
    s.resources = &resources;
    QPointer<AboutWindow> w = new AboutWindow(s);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    auto *pic = w->findChild<QLabel *>(QStringLiteral("picProduct"));
    QCOMPARE(pic->pixmap().size(), QSize(62, 141));
    QVERIFY(w->rect().contains(pic->geometry()));
    QVERIFY(pic->width() >= 62 && pic->height() >= 141);
    delete w.data();
}

QTEST_MAIN(TestHelpPictures)
#include "test_helppictures.moc"
