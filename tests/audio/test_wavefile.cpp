#include "audio/wavefile.h"
#include "platform/qtresources.h"

#include <QtTest>

#include <cstring>
#include <random>
#include <vector>

using namespace kugelfon;

namespace {

QByteArray le16(quint32 v)
{
    QByteArray b(2, '\0');
    b[0] = char(v & 0xFF);
    b[1] = char((v >> 8) & 0xFF);
    return b;
}

QByteArray le32(quint32 v)
{
    return le16(v & 0xFFFF) + le16(v >> 16);
}

QByteArray chunk(const char *id, const QByteArray &body, std::optional<quint32> size = {})
{
    QByteArray c = QByteArray(id, 4) + le32(size.value_or(quint32(body.size()))) + body;
    if (body.size() % 2 && !size)
        c += '\0';
    return c;
}

QByteArray fmtBody(quint32 tag, quint32 channels, quint32 rate, quint32 bits,
                   std::optional<quint32> blockAlign = {})
{
    const quint32 align = blockAlign.value_or(channels * bits / 8);
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}

QByteArray extensibleBody(quint32 channels, quint32 rate, quint32 bits, quint16 subformat)
{
    static const char tail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
    return fmtBody(0xFFFE, channels, rate, bits) + le16(22) + le16(bits) + le32(channels == 1 ? 4 : 3)
        + le16(subformat) + QByteArray(tail, 14);
}

QByteArray riff(const QByteArray &chunks, std::optional<quint32> size = {})
{
    return "RIFF" + le32(size.value_or(quint32(4 + chunks.size()))) + "WAVE" + chunks;
}

QByteArray samples(int bytes)
{
    QByteArray s(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        s[i] = char(i * 7 + 1);
    return s;
}

QByteArray realRecording(int id = 10043)
{
    return QtResources().recording(id);
}

// Copies into a heap block of exactly the image's size, so that AddressSanitizer
// sees any read past the end (a QByteArray keeps a NUL beyond its size).
struct ExactImage {
    std::vector<char> bytes;
    QByteArray view;
    explicit ExactImage(const char *data, qsizetype size) : bytes(data, data + size)
    {
        view = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    }
};

// Every accepted image must describe a playable range inside itself.
void checkSane(const ExactImage &image, const std::optional<WaveData> &wave)
{
    if (!wave)
        return;
    QVERIFY(wave->channels == 1 || wave->channels == 2);
    QVERIFY(wave->bitsPerSample == 8 || wave->bitsPerSample == 16);
    QVERIFY(wave->sampleRate >= 8000 && wave->sampleRate <= 192000);
    QVERIFY(wave->pcmBytes > 0);
    QCOMPARE(wave->pcmBytes % (wave->channels * wave->bitsPerSample / 8), 0);
    const char *begin = image.bytes.data();
    QVERIFY(wave->pcm >= begin);
    QVERIFY(wave->pcmBytes <= qsizetype(image.bytes.size()) - (wave->pcm - begin));
    unsigned sum = 0;
    for (qsizetype i = 0; i < wave->pcmBytes; ++i)
        sum += static_cast<unsigned char>(wave->pcm[i]);
    volatile unsigned sink = sum;
    Q_UNUSED(sink);
}

} // namespace

class TestWaveFile : public QObject {
    Q_OBJECT

private slots:
    void parsesBuiltInRecording();
    void acceptsValidImages_data();
    void acceptsValidImages();
    void rejectsMalformedImages_data();
    void rejectsMalformedImages();
    void truncatedRecordingPlaysWhatIsThere();
    void survivesFuzzedImages();
};

void TestWaveFile::parsesBuiltInRecording()
{
    const QByteArray image = realRecording();
    QVERIFY(image.size() > 44);
    const auto wave = parseWave(image);
    QVERIFY(wave);
    QCOMPARE(wave->channels, 1);
    QCOMPARE(wave->sampleRate, 22050);
    QCOMPARE(wave->bitsPerSample, 16);
    QCOMPARE(wave->pcm, image.constData() + 44);
    QCOMPARE(wave->pcmBytes, image.size() - 44);
}

void TestWaveFile::acceptsValidImages_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("pcmOffset");
    QTest::addColumn<int>("pcmBytes");

    const QByteArray pcm = samples(400);
    const QByteArray fmt16 = chunk("fmt ", fmtBody(1, 1, 22050, 16));

    QTest::newRow("mono 16-bit") << riff(fmt16 + chunk("data", pcm)) << 1 << 22050 << 16 << 44 << 400;
    QTest::newRow("stereo 8-bit 8000 Hz")
        << riff(chunk("fmt ", fmtBody(1, 2, 8000, 8)) + chunk("data", pcm)) << 2 << 8000 << 8 << 44 << 400;
    QTest::newRow("stereo 16-bit 192000 Hz")
        << riff(chunk("fmt ", fmtBody(1, 2, 192000, 16)) + chunk("data", pcm)) << 2 << 192000 << 16 << 44
        << 400;
    QTest::newRow("fmt with cbSize")
        << riff(chunk("fmt ", fmtBody(1, 1, 44100, 16) + le16(0)) + chunk("data", pcm)) << 1 << 44100 << 16
        << 46 << 400;
    QTest::newRow("extensible PCM")
        << riff(chunk("fmt ", extensibleBody(2, 48000, 16, 1)) + chunk("data", pcm)) << 2 << 48000 << 16
        << 68 << 400;
    // "junk" has an odd size and so a pad byte; "LIST" sits between fmt and data.
    QTest::newRow("extra chunks skipped")
        << riff(chunk("junk", "abc") + fmt16 + chunk("LIST", samples(10)) + chunk("data", pcm)) << 1 << 22050
        << 16 << 12 + 12 + 24 + 18 + 8 << 400;
    QTest::newRow("chunks after data ignored")
        << riff(fmt16 + chunk("data", pcm) + chunk("LIST", samples(5))) << 1 << 22050 << 16 << 44 << 400;
    QTest::newRow("RIFF size zero") << riff(fmt16 + chunk("data", pcm), 0) << 1 << 22050 << 16 << 44 << 400;
    QTest::newRow("RIFF size 0xFFFFFFFF")
        << riff(fmt16 + chunk("data", pcm), 0xFFFFFFFF) << 1 << 22050 << 16 << 44 << 400;
    QTest::newRow("data size past the end clipped")
        << riff(fmt16 + chunk("data", pcm, 10000)) << 1 << 22050 << 16 << 44 << 400;
    QTest::newRow("data size 0xFFFFFFFF clipped")
        << riff(fmt16 + chunk("data", pcm, 0xFFFFFFFF)) << 1 << 22050 << 16 << 44 << 400;
    QTest::newRow("partial frame dropped")
        << riff(chunk("fmt ", fmtBody(1, 2, 22050, 16)) + chunk("data", samples(403))) << 2 << 22050 << 16
        << 44 << 400;
    QTest::newRow("odd 8-bit data") << riff(chunk("fmt ", fmtBody(1, 1, 11025, 8)) + chunk("data", samples(3)))
                                    << 1 << 11025 << 8 << 44 << 3;
}

void TestWaveFile::acceptsValidImages()
{
    QFETCH(QByteArray, image);
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(int, bits);
    QFETCH(int, pcmOffset);
    QFETCH(int, pcmBytes);

    const ExactImage exact(image.constData(), image.size());
    const auto wave = parseWave(exact.view);
    QVERIFY(wave);
    QCOMPARE(wave->channels, channels);
    QCOMPARE(wave->sampleRate, rate);
    QCOMPARE(wave->bitsPerSample, bits);
    QCOMPARE(wave->pcm - exact.bytes.data(), qsizetype(pcmOffset));
    QCOMPARE(wave->pcmBytes, qsizetype(pcmBytes));
    QCOMPARE(QByteArray(wave->pcm, wave->pcmBytes), samples(pcmBytes));
}

void TestWaveFile::rejectsMalformedImages_data()
{
    QTest::addColumn<QByteArray>("image");

    const QByteArray pcm = samples(64);
    const QByteArray data = chunk("data", pcm);
    const QByteArray fmt16 = chunk("fmt ", fmtBody(1, 1, 22050, 16));
    const QByteArray good = riff(fmt16 + data);

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("RIFF header only") << good.left(12);
    QTest::newRow("wrong RIFF tag") << QByteArray("RIFX") + good.mid(4);
    QTest::newRow("wrong WAVE tag") << good.left(8) + "AVI " + good.mid(12);
    QTest::newRow("lower-case tags") << QByteArray("riff") + good.mid(4, 4) + "wave" + good.mid(12);
    QTest::newRow("no fmt") << riff(data);
    QTest::newRow("no data") << riff(fmt16);
    QTest::newRow("no data, trailing chunk") << riff(fmt16 + chunk("LIST", samples(8)));
    QTest::newRow("data before fmt") << riff(data + fmt16);
    QTest::newRow("two fmt chunks") << riff(fmt16 + chunk("fmt ", fmtBody(1, 2, 8000, 8)) + data);
    QTest::newRow("fmt too short") << riff(chunk("fmt ", fmtBody(1, 1, 22050, 16).left(14)) + data);
    QTest::newRow("fmt size past end") << riff(chunk("fmt ", fmtBody(1, 1, 22050, 16), 0xFFFFFFFF));
    QTest::newRow("fmt size 0xFFFFFFFE") << riff(chunk("fmt ", fmtBody(1, 1, 22050, 16), 0xFFFFFFFE) + data);
    QTest::newRow("float") << riff(chunk("fmt ", fmtBody(3, 1, 22050, 16)) + data);
    QTest::newRow("ADPCM") << riff(chunk("fmt ", fmtBody(0x11, 1, 22050, 16)) + data);
    QTest::newRow("format 0") << riff(chunk("fmt ", fmtBody(0, 1, 22050, 16)) + data);
    QTest::newRow("extensible float") << riff(chunk("fmt ", extensibleBody(1, 22050, 16, 3)) + data);
    QTest::newRow("extensible too short")
        << riff(chunk("fmt ", extensibleBody(1, 22050, 16, 1).left(30)) + data);
    QTest::newRow("extensible without cbSize")
        << riff(chunk("fmt ", fmtBody(0xFFFE, 1, 22050, 16)) + data);
    QTest::newRow("0 channels") << riff(chunk("fmt ", fmtBody(1, 0, 22050, 16, 2)) + data);
    QTest::newRow("3 channels") << riff(chunk("fmt ", fmtBody(1, 3, 22050, 16)) + data);
    QTest::newRow("65535 channels") << riff(chunk("fmt ", fmtBody(1, 0xFFFF, 22050, 16, 2)) + data);
    QTest::newRow("0 bits") << riff(chunk("fmt ", fmtBody(1, 1, 22050, 0, 2)) + data);
    QTest::newRow("24 bits") << riff(chunk("fmt ", fmtBody(1, 1, 22050, 24)) + data);
    QTest::newRow("12 bits") << riff(chunk("fmt ", fmtBody(1, 1, 22050, 12, 2)) + data);
    QTest::newRow("rate 0") << riff(chunk("fmt ", fmtBody(1, 1, 0, 16)) + data);
    QTest::newRow("rate 7999") << riff(chunk("fmt ", fmtBody(1, 1, 7999, 16)) + data);
    QTest::newRow("rate 192001") << riff(chunk("fmt ", fmtBody(1, 1, 192001, 16)) + data);
    QTest::newRow("rate 0xFFFFFFFF") << riff(chunk("fmt ", fmtBody(1, 1, 0xFFFFFFFF, 16)) + data);
    QTest::newRow("rate 0x80000000") << riff(chunk("fmt ", fmtBody(1, 1, 0x80000000, 16)) + data);
    QTest::newRow("block align wrong") << riff(chunk("fmt ", fmtBody(1, 2, 22050, 16, 2)) + data);
    QTest::newRow("block align 0") << riff(chunk("fmt ", fmtBody(1, 1, 22050, 16, 0)) + data);
    QTest::newRow("data empty") << riff(fmt16 + chunk("data", {}));
    QTest::newRow("data shorter than a frame") << riff(chunk("fmt ", fmtBody(1, 2, 22050, 16)) + chunk("data", "abc"));
    QTest::newRow("data header cut") << riff(fmt16 + data.left(6));
    QTest::newRow("extra chunk size 0xFFFFFFFF") << riff(chunk("junk", samples(8), 0xFFFFFFFF) + fmt16 + data);
    QTest::newRow("extra chunk size 0xFFFFFFFE") << riff(chunk("junk", samples(8), 0xFFFFFFFE) + fmt16 + data);
    QTest::newRow("extra chunk 0x7FFFFFFF") << riff(chunk("junk", samples(8), 0x7FFFFFFF) + fmt16 + data);
    QTest::newRow("extra chunk one past end") << riff(fmt16 + chunk("junk", samples(8), 9));
    // The odd chunk's missing pad byte puts every later header one byte off.
    QTest::newRow("odd chunk without pad") << riff(chunk("junk", "abc", 3).left(11) + fmt16 + data);
}

void TestWaveFile::rejectsMalformedImages()
{
    QFETCH(QByteArray, image);
    const ExactImage exact(image.constData(), image.size());
    QVERIFY(!parseWave(exact.view));
}

void TestWaveFile::truncatedRecordingPlaysWhatIsThere()
{
    // The shortest recording ("acht"), as every cut is copied and read whole.
    const QByteArray image = realRecording(10009);
    QVERIFY(image.size() > 1000);
    for (qsizetype length = 0; length <= image.size(); ++length) {
        const ExactImage exact(image.constData(), length);
        const auto wave = parseWave(exact.view);
        // The header is 44 bytes and one 16-bit mono frame needs 2 more.
        if (length < 46) {
            QVERIFY2(!wave, qPrintable(QString::number(length)));
            continue;
        }
        QVERIFY2(wave, qPrintable(QString::number(length)));
        QCOMPARE(wave->pcm, exact.bytes.data() + 44);
        QCOMPARE(wave->pcmBytes, (length - 44) & ~qsizetype(1));
        checkSane(exact, wave);
    }
}

void TestWaveFile::survivesFuzzedImages()
{
    const QByteArray real = realRecording();
    QVERIFY(real.size() > 1000);
    // A small valid image with extra chunks, so that mutations also hit the
    // chunk walk and not only the sample bytes of a long recording.
    const QByteArray small = riff(chunk("junk", "abc") + chunk("fmt ", extensibleBody(2, 44100, 16, 1))
                                  + chunk("LIST", samples(9)) + chunk("data", samples(40)));
    QVERIFY(parseWave(small));

    std::mt19937 rng(20240611);
    auto uniform = [&rng](qsizetype lo, qsizetype hi) {
        return std::uniform_int_distribution<qsizetype>(lo, hi)(rng);
    };
    const quint32 interesting[] = {0, 1, 2, 3, 4, 15, 16, 17, 40, 0x7FFFFFFF, 0x80000000,
                                   0xFFFFFFF7, 0xFFFFFFF8, 0xFFFFFFFE, 0xFFFFFFFF};

    int accepted = 0;
    constexpr int rounds = 12000;
    for (int round = 0; round < rounds; ++round) {
        const QByteArray &seed = (round % 3 == 0) ? real : small;
        // Only the first part of the long recording matters for the header.
        QByteArray image = seed.left(seed == real ? uniform(0, 600) + 44 : seed.size());
        switch (round % 4) {
        case 0: // truncation
            image.truncate(uniform(0, image.size()));
            break;
        case 1: { // byte flips, mostly in the headers
            const int flips = int(uniform(1, 8));
            for (int i = 0; i < flips && !image.isEmpty(); ++i) {
                const qsizetype at = uniform(0, std::min<qsizetype>(image.size() - 1, 80));
                image[at] = char(image[at] ^ char(1 << uniform(0, 7)));
            }
            break;
        }
        case 2: { // a size field, or any 4 bytes, set to an awkward value
            if (image.size() >= 4) {
                const qsizetype at = uniform(0, 1) ? 4 * uniform(0, image.size() / 4 - 1) : uniform(0, image.size() - 4);
                const quint32 v = uniform(0, 1) ? interesting[uniform(0, std::size(interesting) - 1)]
                                                : quint32(rng());
                image.replace(at, 4, le32(v));
            }
            if (uniform(0, 1))
                image.truncate(uniform(0, image.size()));
            break;
        }
        default: { // random bytes, sometimes behind a real RIFF/WAVE header
            image = uniform(0, 1) ? QByteArray("RIFF") + le32(quint32(rng())) + "WAVE" : QByteArray();
            const qsizetype extra = uniform(0, 120);
            for (qsizetype i = 0; i < extra; ++i)
                image += char(rng());
            if (uniform(0, 1) && image.size() >= 16)
                image.replace(12, 4, uniform(0, 1) ? "fmt " : "data");
            break;
        }
        }
        const ExactImage exact(image.constData(), image.size());
        const auto wave = parseWave(exact.view);
        checkSane(exact, wave);
        if (QTest::currentTestFailed()) {
            qWarning("round %d, image %s", round, image.toHex().constData());
            return;
        }
        accepted += wave ? 1 : 0;
    }
    // Some mutations leave a valid image; if none did, the fuzzing would not
    // be reaching the code that hands out sample data.
    QVERIFY(accepted > rounds / 50);
    QVERIFY(accepted < rounds);
}

QTEST_GUILESS_MAIN(TestWaveFile)
#include "test_wavefile.moc"
