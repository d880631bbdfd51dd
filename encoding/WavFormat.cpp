#include "encoding/WavFormat.h"

#include <array>
#include <cstring>

namespace {

std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t Le16(const unsigned char* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
// Chunks are looked for this far into the file; a format chunk lies at its very start.
constexpr std::uint64_t kSearchLimit = 1 << 20;

QString FormatName(std::uint16_t tag) {
    switch (tag) {
    case 1:
        return QStringLiteral("PCM");
    case 2:
        return QStringLiteral("ADPCM");
    case 3:
        return QStringLiteral("floating-point");
    case 6:
        return QStringLiteral("A-law");
    case 7:
        return QStringLiteral("mu-law");
    case 0x55:
        return QStringLiteral("MP3");
    default:
        return QStringLiteral("format 0x%1").arg(tag, 4, 16, QLatin1Char('0'));
    }
}

QString ChannelsName(std::uint16_t channels) {
    if (channels == 1)
        return QStringLiteral("mono");
    if (channels == 2)
        return QStringLiteral("stereo");
    return QStringLiteral("%1-channel").arg(channels);
}

} // namespace

WavFormatVerdict CheckWavFormat(const ReadAt& readAt) {
    std::array<unsigned char, 12> riff{};
    const std::int64_t got = readAt(0, riff.data(), riff.size());
    if (got < 0)
        return {true, std::nullopt};
    if (got < 12 || std::memcmp(riff.data(), "RIFF", 4) != 0 ||
        std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        return {}; // no header: raw audio

    std::uint64_t offset = 12;
    while (offset < kSearchLimit) {
        std::array<unsigned char, 8> chunk{};
        const std::int64_t head = readAt(offset, chunk.data(), chunk.size());
        if (head < 0)
            return {true, std::nullopt};
        if (head < 8)
            return {};
        const std::uint32_t size = Le32(chunk.data() + 4);
        if (std::memcmp(chunk.data(), "data", 4) == 0)
            return {}; // audio before any format chunk: nothing declared
        if (std::memcmp(chunk.data(), "fmt ", 4) == 0) {
            std::array<unsigned char, 40> fmt{};
            const std::int64_t body = readAt(offset + 8, fmt.data(), fmt.size());
            if (body < 0)
                return {true, std::nullopt};
            if (body < 16 || size < 16)
                return {};
            std::uint16_t tag = Le16(fmt.data());
            const std::uint16_t channels = Le16(fmt.data() + 2);
            const std::uint32_t rate = Le32(fmt.data() + 4);
            const std::uint16_t bits = Le16(fmt.data() + 14);
            if (tag == kFormatExtensible && body >= 26 && size >= 26)
                tag = Le16(fmt.data() + 24); // the sub-format's own tag
            if (tag == kFormatPcm && channels == 2 && rate == 44100 && bits == 16)
                return {};
            return {false, QStringLiteral("Unsupported WAV file: it holds %1-bit %2 %3 audio at "
                                          "%4 Hz. Only 16-bit stereo PCM at 44100 Hz can be "
                                          "encoded.")
                               .arg(bits)
                               .arg(ChannelsName(channels), FormatName(tag))
                               .arg(rate)};
        }
        offset += 8 + std::uint64_t(size) + (size & 1); // chunks are padded to even sizes
    }
    return {};
}
