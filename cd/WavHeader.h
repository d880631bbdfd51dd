#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

// The 44-byte RIFF/WAVE header of a ripped track: PCM, 2 channels, 44100 Hz, 16 bits, for
// `dataBytes` of audio.
std::array<std::uint8_t, 44> MakeWavHeader(std::uint32_t dataBytes);

// Writes that header at the start of `stream` (nothing without a stream). False when the seek
// or the write failed.
bool WriteWavHeader(std::FILE* stream, std::uint32_t dataBytes);
