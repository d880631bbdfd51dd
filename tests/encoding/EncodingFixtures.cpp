#include "EncodingFixtures.h"

#include <QFile>
#include <QtEndian>
#include <cmath>
#include <mpg123.h>

namespace fixtures {

std::vector<std::int16_t> StereoTone(double seconds, double leftHz, double rightHz) {
    const auto frames = static_cast<std::size_t>(seconds * 44100);
    std::vector<std::int16_t> samples(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = double(i) / 44100.0;
        samples[2 * i] = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * leftHz * t));
        samples[2 * i + 1] = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * rightHz * t));
    }
    return samples;
}

QByteArray WavHeader(std::uint32_t dataBytes, std::uint16_t channels, std::uint32_t rate,
                     std::uint16_t bits, std::uint16_t tag) {
    QByteArray h(44, '\0');
    auto put32 = [&](int at, std::uint32_t v) {
        qToLittleEndian(v, h.data() + at);
    };
    auto put16 = [&](int at, std::uint16_t v) {
        qToLittleEndian(v, h.data() + at);
    };
    h.replace(0, 4, "RIFF");
    put32(4, dataBytes + 36);
    h.replace(8, 8, "WAVEfmt ");
    put32(16, 16);
    put16(20, tag);
    put16(22, channels);
    put32(24, rate);
    put32(28, rate * channels * bits / 8);
    put16(32, std::uint16_t(channels * bits / 8));
    put16(34, bits);
    h.replace(36, 4, "data");
    put32(40, dataBytes);
    return h;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

bool WriteCdWav(const QString& path, const std::vector<std::int16_t>& samples) {
    const auto bytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray all = WavHeader(bytes);
    all.append(reinterpret_cast<const char*>(samples.data()), bytes);
    return WriteBytes(path, all);
}

namespace {
// Walks the frame headers of an MP3 file made of frames only.
void ReadFrameHeaders(const QByteArray& data, DecodedMp3& out) {
    static const int kbps[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                 112, 128, 160, 192, 224, 256, 320, 0};
    int pos = 0;
    bool first = true;
    out.everyFrameProtected = out.everyFrameCopyright = out.everyFrameOriginal =
        out.everyFramePrivate = true;
    while (pos + 4 <= data.size()) {
        const auto* b = reinterpret_cast<const unsigned char*>(data.constData() + pos);
        if (b[0] != 0xFF || (b[1] & 0xFE) != 0xFA) { // MPEG-1 Layer III sync
            out.frameCount = -1;
            return;
        }
        const int bitrate = kbps[b[2] >> 4];
        const bool padding = (b[2] >> 1) & 1;
        const int mode = b[3] >> 6;
        out.everyFrameProtected &= (b[1] & 1) == 0;
        out.everyFramePrivate &= (b[2] & 1) == 1;
        out.everyFrameCopyright &= ((b[3] >> 3) & 1) == 1;
        out.everyFrameOriginal &= ((b[3] >> 2) & 1) == 1;
        if (first) {
            out.bitrateKbps = bitrate;
            out.channelMode = mode;
        } else {
            if (bitrate != out.bitrateKbps)
                out.bitrateKbps = -1;
            if (mode != out.channelMode)
                out.channelMode = -2;
        }
        first = false;
        ++out.frameCount;
        pos += 144000 * bitrate / 44100 + (padding ? 1 : 0);
    }
}
} // namespace

DecodedMp3 DecodeMp3(const QString& path) {
    DecodedMp3 out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    const QByteArray data = file.readAll();
    ReadFrameHeaders(data, out);

    mpg123_init();
    int error = 0;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle)
        return out;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(handle);
    mpg123_format(handle, 44100, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    mpg123_open_feed(handle);
    mpg123_feed(handle, reinterpret_cast<const unsigned char*>(data.constData()),
                static_cast<size_t>(data.size()));
    std::vector<unsigned char> buffer(1 << 16);
    int encoding = 0;
    for (;;) {
        size_t done = 0;
        const int result = mpg123_read(handle, buffer.data(), buffer.size(), &done);
        if (result == MPG123_NEW_FORMAT) {
            mpg123_getformat(handle, &out.rate, &out.channels, &encoding);
            continue;
        }
        const auto* s = reinterpret_cast<const std::int16_t*>(buffer.data());
        out.samples.insert(out.samples.end(), s, s + done / 2);
        if (result != MPG123_OK)
            break;
    }
    mpg123_delete(handle);
    out.ok = out.channels > 0;
    if (out.ok)
        out.framesPerChannel = out.samples.size() / std::uint64_t(out.channels);
    return out;
}

} // namespace fixtures
