// The WAVE reader behind playback: what it plays of valid, odd, cut and
// broken images. Run under the sanitizers, every image lies in a heap block
// of exactly its size, so any read past its end is caught.
#include "audio/wavefile.h"
#include "platform/qtresources.h"

#include <QtTest>

#include <random>
#include <vector>

using namespace kugelfon;

namespace {

QByteArray le16(quint32 v) { return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF); }
QByteArray le32(quint32 v) { return le16(v & 0xFFFF) + le16(v >> 16); }

QByteArray chunk(const char *id, const QByteArray &body, std::optional<quint32> size = {})
{
    const QByteArray c = QByteArray(id, 4) + le32(size.value_or(quint32(body.size()))) + body;
    return body.size() % 2 && !size ? c + '\0' : c;
}

QByteArray fmt(quint32 tag, quint32 channels, quint32 rate, quint32 bits, std::optional<quint32> blockAlign = {})
{
    const quint32 align = blockAlign.value_or(channels * bits / 8);
    return chunk("fmt ", le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits));
}

QByteArray extensible(quint32 channels, quint32 rate, quint32 bits, quint16 subformat, int cut = 40)
{
    static const char tail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
    const QByteArray body = fmt(0xFFFE, channels, rate, bits).mid(8) + le16(22) + le16(bits)
        + le32(channels == 1 ? 4 : 3) + le16(subformat) + QByteArray(tail, 14);
    return chunk("fmt ", body.left(cut));
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

// A copy in a heap block of exactly the image's size (a QByteArray keeps a
// NUL beyond its end, which would hide a read one past it).
struct ExactImage {
    std::vector<char> bytes;
    QByteArray view;
    ExactImage(const char *data, qsizetype size) : bytes(data, data + size)
    {
        view = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    }
    std::optional<WaveData> parse() const { return parseWave(view); }
};

// What is accepted describes a playable range inside the image; reading it
// all lets the sanitizer see a range that is not.
void checkSane(const ExactImage &image, const std::optional<WaveData> &wave)
{
    if (!wave)
        return;
    QVERIFY(wave->channels == 1 || wave->channels == 2);
    QVERIFY(wave->bitsPerSample == 8 || wave->bitsPerSample == 16);
    QVERIFY(wave->sampleRate >= 8000 && wave->sampleRate <= 192000);
    QVERIFY(wave->pcmBytes > 0 && wave->pcmBytes % (wave->channels * wave->bitsPerSample / 8) == 0);
    QVERIFY(wave->pcm >= image.bytes.data());
    QVERIFY(wave->pcmBytes <= qsizetype(image.bytes.size()) - (wave->pcm - image.bytes.data()));
    volatile unsigned sum = 0;
    for (qsizetype i = 0; i < wave->pcmBytes; ++i)
        sum = sum + static_cast<unsigned char>(wave->pcm[i]);
}

} // namespace

class TestWaveFile : public QObject {
    Q_OBJECT

private slots:
    void acceptsValidImages_data();
    void acceptsValidImages();
    void rejectsMalformedImages_data();
    void rejectsMalformedImages();
    void cutRecordingPlaysWhatIsThere();
    void survivesFuzzedImages();
};

void TestWaveFile::acceptsValidImages_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QList<int>>("channelsRateBitsOffsetBytes");
    const QByteArray pcm = chunk("data", samples(400));
    const QByteArray fmt16 = fmt(1, 1, 22050, 16);
    QTest::newRow("mono 16-bit") << riff(fmt16 + pcm) << QList<int>{1, 22050, 16, 44, 400};
    QTest::newRow("stereo 8-bit 8000 Hz") << riff(fmt(1, 2, 8000, 8) + pcm) << QList<int>{2, 8000, 8, 44, 400};
    QTest::newRow("stereo 192000 Hz") << riff(fmt(1, 2, 192000, 16) + pcm) << QList<int>{2, 192000, 16, 44, 400};
    QTest::newRow("fmt with cbSize")
        << riff(chunk("fmt ", fmt(1, 1, 44100, 16).mid(8) + le16(0)) + pcm) << QList<int>{1, 44100, 16, 46, 400};
    QTest::newRow("extensible PCM")
        << riff(extensible(2, 48000, 16, 1) + pcm) << QList<int>{2, 48000, 16, 68, 400};
    // "junk" has an odd size and so a pad byte; "LIST" sits between fmt and data.
    QTest::newRow("other chunks skipped") << riff(chunk("junk", "abc") + fmt16 + chunk("LIST", samples(10)) + pcm)
                                          << QList<int>{1, 22050, 16, 74, 400};
    QTest::newRow("chunks after data") << riff(fmt16 + pcm + chunk("LIST", samples(5))) << QList<int>{1, 22050, 16, 44, 400};
    QTest::newRow("RIFF size 0") << riff(fmt16 + pcm, 0) << QList<int>{1, 22050, 16, 44, 400};
    QTest::newRow("RIFF size 0xFFFFFFFF") << riff(fmt16 + pcm, 0xFFFFFFFF) << QList<int>{1, 22050, 16, 44, 400};
    QTest::newRow("data size past the end")
        << riff(fmt16 + chunk("data", samples(400), 10000)) << QList<int>{1, 22050, 16, 44, 400};
    QTest::newRow("data size 0xFFFFFFFF")
        << riff(fmt16 + chunk("data", samples(400), 0xFFFFFFFF)) << QList<int>{1, 22050, 16, 44, 400};
    QTest::newRow("partial frame dropped")
        << riff(fmt(1, 2, 22050, 16) + chunk("data", samples(403))) << QList<int>{2, 22050, 16, 44, 400};
    QTest::newRow("odd 8-bit data")
        << riff(fmt(1, 1, 11025, 8) + chunk("data", samples(3))) << QList<int>{1, 11025, 8, 44, 3};
}

void TestWaveFile::acceptsValidImages()
{
    QFETCH(QByteArray, image);
    QFETCH(QList<int>, channelsRateBitsOffsetBytes);
    const ExactImage exact(image.constData(), image.size());
    const auto wave = exact.parse();
    QVERIFY(wave);
    QCOMPARE((QList<int>{wave->channels, wave->sampleRate, wave->bitsPerSample,
                         int(wave->pcm - exact.bytes.data()), int(wave->pcmBytes)}),
             channelsRateBitsOffsetBytes);
    QCOMPARE(QByteArray(wave->pcm, wave->pcmBytes), samples(int(wave->pcmBytes)));
}

void TestWaveFile::rejectsMalformedImages_data()
{
    QTest::addColumn<QByteArray>("image");
    const QByteArray data = chunk("data", samples(64));
    const QByteArray fmt16 = fmt(1, 1, 22050, 16);
    const QByteArray good = riff(fmt16 + data);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("RIFF header only") << good.left(12);
    QTest::newRow("wrong RIFF tag") << QByteArray("RIFX") + good.mid(4);
    QTest::newRow("wrong WAVE tag") << good.left(8) + "AVI " + good.mid(12);
    QTest::newRow("lower-case tags") << QByteArray("riff") + good.mid(4, 4) + "wave" + good.mid(12);
    QTest::newRow("no fmt") << riff(data);
    QTest::newRow("no data") << riff(fmt16 + chunk("LIST", samples(8)));
    QTest::newRow("data before fmt") << riff(data + fmt16);
    QTest::newRow("two fmt chunks") << riff(fmt16 + fmt(1, 2, 8000, 8) + data);
    QTest::newRow("fmt too short") << riff(chunk("fmt ", fmt16.mid(8, 14)) + data);
    QTest::newRow("fmt size past end") << riff(chunk("fmt ", fmt16.mid(8), 0xFFFFFFFF));
    QTest::newRow("fmt size 0xFFFFFFFE") << riff(chunk("fmt ", fmt16.mid(8), 0xFFFFFFFE) + data);
    QTest::newRow("float") << riff(fmt(3, 1, 22050, 16) + data);
    QTest::newRow("ADPCM") << riff(fmt(0x11, 1, 22050, 16) + data);
    QTest::newRow("extensible float") << riff(extensible(1, 22050, 16, 3) + data);
    QTest::newRow("extensible too short") << riff(extensible(1, 22050, 16, 1, 30) + data);
    QTest::newRow("extensible without cbSize") << riff(fmt(0xFFFE, 1, 22050, 16) + data);
    QTest::newRow("0 channels") << riff(fmt(1, 0, 22050, 16, 2) + data);
    QTest::newRow("3 channels") << riff(fmt(1, 3, 22050, 16) + data);
    QTest::newRow("0 bits") << riff(fmt(1, 1, 22050, 0, 2) + data);
    QTest::newRow("24 bits") << riff(fmt(1, 1, 22050, 24) + data);
    QTest::newRow("rate 7999") << riff(fmt(1, 1, 7999, 16) + data);
    QTest::newRow("rate 192001") << riff(fmt(1, 1, 192001, 16) + data);
    QTest::newRow("rate 0xFFFFFFFF") << riff(fmt(1, 1, 0xFFFFFFFF, 16) + data);
    QTest::newRow("block align wrong") << riff(fmt(1, 2, 22050, 16, 2) + data);
    QTest::newRow("data empty") << riff(fmt16 + chunk("data", {}));
    QTest::newRow("data shorter than a frame") << riff(fmt(1, 2, 22050, 16) + chunk("data", "abc"));
    QTest::newRow("data header cut") << riff(fmt16 + data.left(6));
    QTest::newRow("other chunk size 0xFFFFFFFF") << riff(chunk("junk", samples(8), 0xFFFFFFFF) + fmt16 + data);
    QTest::newRow("other chunk size 0xFFFFFFFE") << riff(chunk("junk", samples(8), 0xFFFFFFFE) + fmt16 + data);
    QTest::newRow("other chunk one past end") << riff(fmt16 + chunk("junk", samples(8), 9));
    // The odd chunk's missing pad byte puts every later header one byte off.
    QTest::newRow("odd chunk without pad") << riff(chunk("junk", "abc", 3).left(11) + fmt16 + data);
}

void TestWaveFile::rejectsMalformedImages()
{
    QFETCH(QByteArray, image);
    QVERIFY(!ExactImage(image.constData(), image.size()).parse());
}

void TestWaveFile::cutRecordingPlaysWhatIsThere()
{
    // The shortest recording ("acht"), cut at every length: nothing until
    // the 44-byte header and one 16-bit frame are there, then what is there.
    const QByteArray image = QtResources().recording(10009);
    QVERIFY(image.size() > 1000);
    for (qsizetype length = 0; length <= image.size(); ++length) {
        const ExactImage exact(image.constData(), length);
        const auto wave = exact.parse();
        QVERIFY2(bool(wave) == (length >= 46), qPrintable(QString::number(length)));
        if (!wave)
            continue;
        QCOMPARE((QList<int>{wave->channels, wave->sampleRate, wave->bitsPerSample}), (QList<int>{1, 22050, 16}));
        QCOMPARE(wave->pcm, exact.bytes.data() + 44);
        QCOMPARE(wave->pcmBytes, (length - 44) & ~qsizetype(1));
        checkSane(exact, wave);
    }
}

void TestWaveFile::survivesFuzzedImages()
{
    const QByteArray real = QtResources().recording(10043);
    QVERIFY(real.size() > 1000);
    // A small valid image with other chunks, so that mutations also hit the
    // chunk walk and not only the samples of a long recording.
    const QByteArray small =
        riff(chunk("junk", "abc") + extensible(2, 44100, 16, 1) + chunk("LIST", samples(9)) + chunk("data", samples(40)));
    QVERIFY(parseWave(small));

    std::mt19937 rng(20240611);
    auto uniform = [&rng](qsizetype lo, qsizetype hi) { return std::uniform_int_distribution<qsizetype>(lo, hi)(rng); };
    const quint32 awkward[] = {0, 1, 2, 3, 4, 15, 16, 17, 40, 0x7FFFFFFF, 0x80000000, 0xFFFFFFF7, 0xFFFFFFFE, 0xFFFFFFFF};
    int accepted = 0;
    constexpr int rounds = 12000;
    for (int round = 0; round < rounds; ++round) {
        // Only the first part of the long recording matters for the header.
        QByteArray image = round % 3 == 0 ? real.left(uniform(0, 600) + 44) : small;
        switch (round % 4) {
        case 0: // cut
            image.truncate(uniform(0, image.size()));
            break;
        case 1: // bits flipped, mostly in the headers
            for (int i = int(uniform(1, 8)); i > 0 && !image.isEmpty(); --i) {
                const qsizetype at = uniform(0, std::min<qsizetype>(image.size() - 1, 80));
                image[at] = char(image[at] ^ char(1 << uniform(0, 7)));
            }
            break;
        case 2: // a size field, or any 4 bytes, set to an awkward value
            if (image.size() >= 4) {
                const qsizetype at = uniform(0, 1) ? 4 * uniform(0, image.size() / 4 - 1) : uniform(0, image.size() - 4);
                image.replace(at, 4, le32(uniform(0, 1) ? awkward[uniform(0, std::size(awkward) - 1)] : quint32(rng())));
            }
            if (uniform(0, 1))
                image.truncate(uniform(0, image.size()));
            break;
        default: // random bytes, sometimes behind a real RIFF/WAVE header
            image = uniform(0, 1) ? QByteArray("RIFF") + le32(quint32(rng())) + "WAVE" : QByteArray();
            for (qsizetype i = uniform(0, 120); i > 0; --i)
                image += char(rng());
            if (uniform(0, 1) && image.size() >= 16)
                image.replace(12, 4, uniform(0, 1) ? "fmt " : "data");
            break;
        }
        const ExactImage exact(image.constData(), image.size());
        const auto wave = exact.parse();
        checkSane(exact, wave);
        if (QTest::currentTestFailed()) {
            qWarning("round %d, image %s", round, image.toHex().constData());
            return;
        }
        accepted += wave ? 1 : 0;
    }
    // Some mutations leave a valid image; if none did, the fuzzing would not
    // reach the code that hands out sample data.
    QVERIFY(accepted > rounds / 50 && accepted < rounds);
}

QTEST_GUILESS_MAIN(TestWaveFile)
#include "test_wavefile.moc"
