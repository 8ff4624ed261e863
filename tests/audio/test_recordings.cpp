// The 184 recordings the program carries: all there, each a plain WAVE of
// PCM mono 22050 Hz 16-bit, short, distinct, and about equally loud.
#include "audio/wavefile.h"
#include "platform/qtresources.h"

#include <QDir>
#include <QSet>
#include <QtEndian>
#include <QtTest>

#include <cmath>

using namespace kugelfon;

class TestRecordings : public QObject {
    Q_OBJECT

private slots:
    void allRecordingsBuiltIn();
};

void TestRecordings::allRecordingsBuiltIn()
{
    const QtResources resources;
    QStringList expected;
    for (int base : {10000, 20000})
        for (int id = base; id <= base + 91; ++id)
            expected << QStringLiteral("%1.wav").arg(id);
    QStringList present = QDir(QStringLiteral(":/recordings")).entryList(QDir::Files);
    present.sort();
    QCOMPARE(present, expected);

    QSet<QByteArray> distinct;
    double quietest = 0, loudest = -200;
    for (const QString &name : expected) {
        const int id = name.chopped(4).toInt();
        const QByteArray image = resources.recording(id);
        // Canonical header: RIFF and data sizes, nothing between "fmt " and "data".
        QCOMPARE(image.left(4) + image.mid(8, 8) + image.mid(36, 4), QByteArray("RIFFWAVEfmt data"));
        QCOMPARE(image.mid(16, 20).toHex(), QByteArray("10000000010001002256000044ac000002001000"));
        QCOMPARE(qFromLittleEndian<quint32>(image.constData() + 4), quint32(image.size() - 8));
        QCOMPARE(qFromLittleEndian<quint32>(image.constData() + 40), quint32(image.size() - 44));
        const auto wave = parseWave(image);
        QVERIFY(wave);
        QCOMPARE(wave->pcmBytes, image.size() - 44);
        const double seconds = (image.size() - 44) / (2.0 * 22050);
        QVERIFY2(seconds >= 0.2 && seconds <= 1.22, qPrintable(QStringLiteral("%1: %2 s").arg(id).arg(seconds)));

        // Peak normalised to -1 dBFS (a limiter may leave it a little lower), never clipping.
        const qsizetype n = wave->pcmBytes / 2;
        double peak = 0, sumSquares = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const double v = qFromLittleEndian<qint16>(wave->pcm + 2 * i) / 32768.0;
            peak = std::max(peak, std::abs(v));
            sumSquares += v * v;
        }
        const double peakDb = 20 * std::log10(peak), rmsDb = 10 * std::log10(sumSquares / double(n));
        QVERIFY2(peakDb <= -0.9 && peakDb >= -4, qPrintable(QStringLiteral("%1: %2 dB").arg(id).arg(peakDb)));
        quietest = std::min(quietest, rmsDb);
        loudest = std::max(loudest, rmsDb);

        // Number 0 (never shown) plays like number 1; all others differ.
        if (id % 10000 == 1) {
            QCOMPARE(image, resources.recording(id + 1));
        } else {
            QVERIFY2(!distinct.contains(image.mid(44)), qPrintable(name));
            distinct.insert(image.mid(44));
        }
    }
    // Straight from the synthesizer the spread is about 10 dB.
    QVERIFY2(loudest - quietest <= 6 && quietest >= -24,
             qPrintable(QStringLiteral("%1..%2 dB").arg(quietest).arg(loudest)));
}

QTEST_GUILESS_MAIN(TestRecordings)
#include "test_recordings.moc"
