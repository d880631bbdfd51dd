#pragma once
// The user's encoder settings, as the settings dialog edits them, and their translation into the
// encoder library's configuration. Never stored: every command starts from the defaults.

#include "platform/bladeenc/bladeenc.h"

#include <cstdint>

struct EncoderSettings {
    std::int32_t bitrateIndex = -1; // 0-13: 32 ... 320 kbit/s; -1 when no button is checked
    std::int32_t copyrightFlag = 0;
    std::int32_t crcFlag = 0;
    std::int32_t originalFlag = 0;
    std::int32_t privateFlag = 0;
    std::int32_t channelIndex = -1; // 0 mono, 1 dual channel, 2 stereo; -1 when none is checked
};

// kbit/s of a bitrate index; any index outside 0-13 gives 128.
std::uint16_t BitrateFromIndex(int bitrateIndex);
// 0 -> mono, 1 -> dual channel, anything else -> stereo.
std::uint8_t Mp3ModeFromChannelIndex(int channelIndex);
// Every field of the MP3 variant, at 44100 Hz.
BE_CONFIG MakeEncoderConfig(const EncoderSettings& settings);
