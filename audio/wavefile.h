#pragma once

#include <QByteArray>

#include <optional>

namespace kugelfon {

// The playable part of a RIFF WAVE image. pcm points into the image it was
// parsed from and is valid only as long as that image is.
struct WaveData {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    const char *pcm = nullptr;
    qsizetype pcmBytes = 0; // whole frames only
};

// Accepts uncompressed PCM (also in a WAVE_FORMAT_EXTENSIBLE wrapper), 8 or
// 16 bits, mono or stereo, 8000 to 192000 Hz. A data chunk cut short by the
// end of the image yields what is there; anything else malformed, and an
// image without a single sample frame, yields nullopt.
std::optional<WaveData> parseWave(const QByteArray &image);

} // namespace kugelfon
