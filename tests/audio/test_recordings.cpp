#include "audio/wavefile.h"
#include "platform/qtresources.h"

#include <QDir>
#include <QSet>
#include <QtTest>

#include <cmath>

using namespace kugelfon;

namespace {

quint32 le32At(const QByteArray &b, int at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + at);
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

QList<int> allIds()
{
    QList<int> ids;
    for (int base : {10000, 20000})
        for (int id = base; id <= base + 91; ++id)
            ids << id;
    return ids;
}

struct Level {
    double peakDb;
    double rmsDb;
};

Level levelOf(const QByteArray &image)
{
    const auto *p = reinterpret_cast<const unsigned char *>(image.constData() + 44);
    const qsizetype n = (image.size() - 44) / 2;
    double peak = 0, sumSquares = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const double v = qint16(quint16(p[2 * i] | (p[2 * i + 1] << 8))) / 32768.0;
        peak = std::max(peak, std::abs(v));
        sumSquares += v * v;
    }
    return {20 * std::log10(peak), 10 * std::log10(sumSquares / double(n))};
}

} // namespace

class TestRecordings : public QObject {
    Q_OBJECT

private slots:
    void exactlyTheExpectedSetIsBuiltIn();
    void everyRecordingIsCanonicalAndShort_data();
    void everyRecordingIsCanonicalAndShort();
    void zeroPlaysLikeOne();
    void distinctNumbersSoundDistinct();
    void loudnessIsEven();
};

void TestRecordings::exactlyTheExpectedSetIsBuiltIn()
{
    QStringList expected;
    for (int id : allIds())
        expected << QStringLiteral("%1.wav").arg(id);
    QStringList present = QDir(QStringLiteral(":/recordings")).entryList(QDir::Files);
    expected.sort();
    present.sort();
    QCOMPARE(present, expected);
}

void TestRecordings::everyRecordingIsCanonicalAndShort_data()
{
    QTest::addColumn<int>("id");
    for (int id : allIds())
        QTest::newRow(qPrintable(QString::number(id))) << id;
}

void TestRecordings::everyRecordingIsCanonicalAndShort()
{
    QFETCH(int, id);
    const QByteArray image = QtResources().recording(id);
    QVERIFY(image.size() > 44);

    // Canonical header: nothing between "fmt " and "data".
    QCOMPARE(image.left(4), QByteArray("RIFF"));
    QCOMPARE(le32At(image, 4), quint32(image.size() - 8));
    QCOMPARE(image.mid(8, 8), QByteArray("WAVEfmt "));
    const QByteArray fmt = QByteArray::fromHex("10000000" "0100" "0100" "22560000" "44ac0000" "0200" "1000");
    QCOMPARE(image.mid(16, 20).toHex(), fmt.toHex());
    QCOMPARE(image.mid(36, 4), QByteArray("data"));
    QCOMPARE(le32At(image, 40), quint32(image.size() - 44));
    QCOMPARE(image.size() % 2, 0);

    const double seconds = (image.size() - 44) / (2.0 * 22050);
    QVERIFY2(seconds <= 1.22, qPrintable(QString::number(seconds)));
    QVERIFY2(seconds >= 0.2, qPrintable(QString::number(seconds)));

    const auto wave = parseWave(image);
    QVERIFY(wave);
    QCOMPARE(wave->pcmBytes, image.size() - 44);

    // Peak normalised to -1 dBFS (a limiter may leave it a little lower),
    // never clipping.
    const Level level = levelOf(image);
    QVERIFY2(level.peakDb <= -0.9 && level.peakDb >= -4, qPrintable(QString::number(level.peakDb)));
}

void TestRecordings::zeroPlaysLikeOne()
{
    const QtResources resources;
    for (int base : {10000, 20000}) {
        const QByteArray one = resources.recording(base + 2);
        QVERIFY(!one.isEmpty());
        QCOMPARE(resources.recording(base + 1), one);
    }
}

void TestRecordings::distinctNumbersSoundDistinct()
{
    const QtResources resources;
    QSet<QByteArray> seen;
    for (int base : {10000, 20000}) {
        for (int id = base; id <= base + 91; ++id) {
            if (id == base + 1)
                continue; // the deliberate copy of base + 2
            const QByteArray pcm = resources.recording(id).mid(44);
            QVERIFY2(!seen.contains(pcm), qPrintable(QString::number(id)));
            seen.insert(pcm);
        }
    }
    QCOMPARE(seen.size(), 2 * 91);
}

void TestRecordings::loudnessIsEven()
{
    const QtResources resources;
    double quietest = 0, loudest = -200;
    for (int id : allIds()) {
        const double rms = levelOf(resources.recording(id)).rmsDb;
        quietest = std::min(quietest, rms);
        loudest = std::max(loudest, rms);
    }
    // Straight from the synthesizer the spread is about 10 dB.
    QVERIFY2(loudest - quietest <= 6, qPrintable(QStringLiteral("%1..%2 dB").arg(quietest).arg(loudest)));
    QVERIFY2(quietest >= -24, qPrintable(QString::number(quietest)));
}

QTEST_GUILESS_MAIN(TestRecordings)
#include "test_recordings.moc"
