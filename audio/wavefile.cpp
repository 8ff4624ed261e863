#include "audio/wavefile.h"

#include <cstdint>
#include <cstring>

namespace kugelfon {

namespace {

constexpr quint16 formatPcm = 1;
constexpr quint16 formatExtensible = 0xFFFE;

// The GUID tail every KSDATAFORMAT_SUBTYPE_* shares; the first two bytes carry
// the plain format code.
constexpr unsigned char guidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

quint16 le16(const unsigned char *p)
{
    return quint16(p[0] | (p[1] << 8));
}

quint32 le32(const unsigned char *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

struct Format {
    int channels;
    int sampleRate;
    int bitsPerSample;
};

std::optional<Format> parseFormat(const unsigned char *p, quint64 size)
{
    if (size < 16)
        return std::nullopt;
    quint16 tag = le16(p);
    const quint16 channels = le16(p + 2);
    const quint32 rate = le32(p + 4);
    const quint16 blockAlign = le16(p + 12);
    const quint16 bits = le16(p + 14);

    if (tag == formatExtensible) {
        // cbSize, valid bits, channel mask, then the subformat GUID.
        if (size < 40 || le16(p + 16) < 22)
            return std::nullopt;
        const quint16 validBits = le16(p + 18);
        if (validBits != 0 && validBits != bits)
            return std::nullopt;
        if (std::memcmp(p + 26, guidTail, sizeof guidTail) != 0)
            return std::nullopt;
        tag = le16(p + 24);
    }
    if (tag != formatPcm)
        return std::nullopt;
    if (channels != 1 && channels != 2)
        return std::nullopt;
    if (bits != 8 && bits != 16)
        return std::nullopt;
    if (rate < 8000 || rate > 192000)
        return std::nullopt;
    // The byte rate is redundant and often wrong in the wild, so it is not
    // checked; a block align that contradicts the frame size is.
    if (blockAlign != channels * (bits / 8))
        return std::nullopt;
    return Format{channels, int(rate), bits};
}

} // namespace

std::optional<WaveData> parseWave(const QByteArray &image)
{
    const auto *base = reinterpret_cast<const unsigned char *>(image.constData());
    const quint64 total = quint64(image.size());
    if (total < 12 || std::memcmp(base, "RIFF", 4) != 0 || std::memcmp(base + 8, "WAVE", 4) != 0)
        return std::nullopt;

    // The RIFF size is often wrong in practice (streamed writers leave 0 or
    // 0xFFFFFFFF); the chunks themselves are walked against the real end.
    quint64 pos = 12;
    std::optional<Format> format;
    while (total - pos >= 8) {
        const unsigned char *header = base + pos;
        const quint64 size = le32(header + 4);
        const quint64 bodyStart = pos + 8;
        const quint64 available = total - bodyStart;

        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (format || size > available)
                return std::nullopt;
            format = parseFormat(base + bodyStart, size);
            if (!format)
                return std::nullopt;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!format)
                return std::nullopt;
            const quint64 frameBytes = quint64(format->channels) * quint64(format->bitsPerSample / 8);
            quint64 bytes = size < available ? size : available;
            bytes -= bytes % frameBytes;
            if (bytes == 0)
                return std::nullopt;
            WaveData wave;
            wave.channels = format->channels;
            wave.sampleRate = format->sampleRate;
            wave.bitsPerSample = format->bitsPerSample;
            wave.pcm = image.constData() + bodyStart;
            wave.pcmBytes = qsizetype(bytes);
            return wave;
        }
        // Chunks are padded to even length. size is at most 2^32 - 1, so the
        // sums below cannot overflow a 64-bit value.
        const quint64 skip = size + (size & 1);
        if (skip > available)
            return std::nullopt;
        pos = bodyStart + skip;
    }
    return std::nullopt;
}

} // namespace kugelfon
