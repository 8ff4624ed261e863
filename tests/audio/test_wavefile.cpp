// The WAVE reader behind playback: what it plays of valid, odd, cut and broken
// images, each in a heap block of its size so the sanitizers see any overread.
#include "audio/wavefile.h"
#include "platform/qt/qtresources.h"

#include <QtTest>

#include <vector>

using namespace kugelfon;
// Channels, rate, bits, and where the samples lie (offset, bytes); empty if refused.
using Wave = QList<int>;

namespace {

QByteArray le16(quint32 v) { return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF); }
QByteArray le32(quint32 v) { return le16(v & 0xFFFF) + le16(v >> 16); }
QByteArray filler(int bytes) { return QByteArray(bytes, 'x'); }

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

// What the reader makes of the image, every sample read. A QByteArray's NUL
// beyond its end would hide a read one past it: hence the copy.
Wave parsed(const QByteArray &image)
{
    const std::vector<char> bytes(image.begin(), image.end());
    const auto wave = parseWave(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
    if (!wave)
        return {};
    volatile unsigned sum = 0;
    for (qsizetype i = 0; i < wave->pcmBytes; ++i)
        sum = sum + static_cast<unsigned char>(wave->pcm[i]);
    return {wave->channels, wave->sampleRate, wave->bitsPerSample, int(wave->pcm - bytes.data()),
            int(wave->pcmBytes)};
}

} // namespace

class TestWaveFile : public QObject {
    Q_OBJECT

private slots:
    void images_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<Wave>("wave");
        const auto row = [](const char *name, const QByteArray &image, const Wave &wave = {}) {
            QTest::newRow(name) << image << wave;
        };
        const QByteArray pcm = chunk("data", filler(400));
        const QByteArray fmt16 = fmt(1, 1, 22050, 16);
        const Wave plain{1, 22050, 16, 44, 400};
        row("mono 16-bit", riff(fmt16 + pcm), plain);
        row("stereo 8-bit 8000 Hz", riff(fmt(1, 2, 8000, 8) + pcm), {2, 8000, 8, 44, 400});
        row("stereo 192000 Hz", riff(fmt(1, 2, 192000, 16) + pcm), {2, 192000, 16, 44, 400});
        row("fmt with cbSize", riff(chunk("fmt ", fmt(1, 1, 44100, 16).mid(8) + le16(0)) + pcm), {1, 44100, 16, 46, 400});
        row("extensible PCM", riff(extensible(2, 48000, 16, 1) + pcm), {2, 48000, 16, 68, 400});
        // "junk" has an odd size and so a pad byte; "LIST" sits between fmt and data.
        row("other chunks skipped", riff(chunk("junk", "abc") + fmt16 + chunk("LIST", filler(10)) + pcm),
            {1, 22050, 16, 74, 400});
        row("chunks after data", riff(fmt16 + pcm + chunk("LIST", filler(5))), plain);
        row("RIFF size 0", riff(fmt16 + pcm, 0), plain);
        row("RIFF size 0xFFFFFFFF", riff(fmt16 + pcm, 0xFFFFFFFF), plain);
        row("partial frame dropped", riff(fmt(1, 2, 22050, 16) + chunk("data", filler(403))), {2, 22050, 16, 44, 400});
        row("odd 8-bit data", riff(fmt(1, 1, 11025, 8) + chunk("data", filler(3))), {1, 11025, 8, 44, 3});

        // Refused.
        const QByteArray data = chunk("data", filler(64));
        const QByteArray good = riff(fmt16 + data);
        row("wrong RIFF tag", QByteArray("RIFX") + good.mid(4));
        row("wrong WAVE tag", good.left(8) + "AVI " + good.mid(12));
        row("no data", riff(fmt16 + chunk("LIST", filler(8))));
        row("data before fmt", riff(data + fmt16));
        row("two fmt chunks", riff(fmt16 + fmt(1, 2, 8000, 8) + data));
        row("fmt too short", riff(chunk("fmt ", fmt16.mid(8, 14)) + data));
        row("fmt size past end", riff(chunk("fmt ", fmt16.mid(8), 0xFFFFFFFF)));
        row("float", riff(fmt(3, 1, 22050, 16) + data));
        row("extensible float", riff(extensible(1, 22050, 16, 3) + data));
        row("extensible too short", riff(extensible(1, 22050, 16, 1, 30) + data));
        row("0 channels", riff(fmt(1, 0, 22050, 16, 2) + data));
        row("3 channels", riff(fmt(1, 3, 22050, 16) + data));
        row("0 bits", riff(fmt(1, 1, 22050, 0, 2) + data));
        row("24 bits", riff(fmt(1, 1, 22050, 24) + data));
        row("rate 7999", riff(fmt(1, 1, 7999, 16) + data));
        row("rate 192001", riff(fmt(1, 1, 192001, 16) + data));
        row("block align wrong", riff(fmt(1, 2, 22050, 16, 2) + data));
        row("data shorter than a frame", riff(fmt(1, 2, 22050, 16) + chunk("data", "abc")));
        row("other chunk size 0xFFFFFFFF", riff(chunk("junk", filler(8), 0xFFFFFFFF) + fmt16 + data));
        row("other chunk one past end", riff(fmt16 + chunk("junk", filler(8), 9)));
        // The odd chunk's missing pad byte puts every later header one byte off.
        row("odd chunk without pad", riff(chunk("junk", "abc", 3).left(11) + fmt16 + data));
    }

    void images()
    {
        QFETCH(QByteArray, image);
        QFETCH(Wave, wave);
        QCOMPARE(parsed(image), wave);
    }

    // The shortest recording cut at every length: nothing until the header and
    // one frame are there, then what is there.
    void cutRecordingPlaysWhatIsThere()
    {
        const QByteArray image = QtResources().recording(10005);
        for (int length = 0; length <= image.size(); ++length) {
            const Wave expected = length < 46 ? Wave() : Wave{1, 22050, 16, 44, (length - 44) & ~1};
            QCOMPARE(parsed(image.left(length)), expected);
        }
    }

    // The 184 recordings: each mono 22050 Hz 16-bit behind a 44-byte header;
    // number 0 (never shown) plays like number 1, all others differ.
    void recordingsBuiltIn()
    {
        QSet<QByteArray> distinct;
        for (int base : {10000, 20000})
            for (int id = base; id <= base + 91; ++id) {
                const QByteArray image = QtResources().recording(id);
                QCOMPARE(parsed(image), (Wave{1, 22050, 16, 44, int(image.size() - 44)}));
                distinct.insert(image.mid(44));
            }
        QCOMPARE(QtResources().recording(10001), QtResources().recording(10002));
        QCOMPARE(QtResources().recording(20001), QtResources().recording(20002));
        QCOMPARE(distinct.size(), 2 * 92 - 2);
    }
};

QTEST_GUILESS_MAIN(TestWaveFile)
#include "test_wavefile.moc"
