#include "encoding/EncoderSettings.h"

#include <array>

std::uint16_t BitrateFromIndex(int bitrateIndex) {
    static constexpr std::array<std::uint16_t, 14> kbps = {32,  40,  48,  56,  64,  80,  96,
                                                           112, 128, 160, 192, 224, 256, 320};
    if (bitrateIndex < 0 || bitrateIndex >= static_cast<int>(kbps.size()))
        return 128;
    return kbps[static_cast<std::size_t>(bitrateIndex)];
}

std::uint8_t Mp3ModeFromChannelIndex(int channelIndex) {
    switch (channelIndex) {
    case 0:
        return BE_MP3_MODE_MONO;
    case 1:
        return BE_MP3_MODE_DUALCHANNEL;
    default:
        return BE_MP3_MODE_STEREO;
    }
}

BE_CONFIG MakeEncoderConfig(const EncoderSettings& settings) {
    BE_CONFIG config{};
    config.dwConfig = BE_CONFIG_MP3;
    config.format.mp3.dwSampleRate = 44100;
    config.format.mp3.byMode = Mp3ModeFromChannelIndex(settings.channelIndex);
    config.format.mp3.wBitrate = BitrateFromIndex(settings.bitrateIndex);
    config.format.mp3.bPrivate = settings.privateFlag;
    config.format.mp3.bCRC = settings.crcFlag;
    config.format.mp3.bCopyright = settings.copyrightFlag;
    config.format.mp3.bOriginal = settings.originalFlag;
    return config;
}
