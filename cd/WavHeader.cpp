#include "cd/WavHeader.h"

#include <cstring>

namespace {
void Put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void Put16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}
} // namespace

std::array<std::uint8_t, 44> MakeWavHeader(std::uint32_t dataBytes) {
    std::array<std::uint8_t, 44> h{};
    std::memcpy(h.data(), "RIFF", 4);
    Put32(h.data() + 4, dataBytes + 36);
    std::memcpy(h.data() + 8, "WAVEfmt ", 8);
    Put32(h.data() + 16, 16);
    Put16(h.data() + 20, 1);      // PCM
    Put16(h.data() + 22, 2);      // channels
    Put32(h.data() + 24, 44100);  // samples per second
    Put32(h.data() + 28, 176400); // bytes per second
    Put16(h.data() + 32, 4);      // bytes per sample frame
    Put16(h.data() + 34, 16);     // bits per sample
    std::memcpy(h.data() + 36, "data", 4);
    Put32(h.data() + 40, dataBytes);
    return h;
}

bool WriteWavHeader(std::FILE* stream, std::uint32_t dataBytes) {
    if (!stream)
        return true;
    const std::array<std::uint8_t, 44> header = MakeWavHeader(dataBytes);
    if (std::fseek(stream, 0, SEEK_SET) != 0)
        return false;
    return std::fwrite(header.data(), 1, header.size(), stream) == header.size();
}
