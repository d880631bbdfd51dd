// Writes the demo disc that `make run` offers on a machine without a CD drive: a cue sheet and
// its image with a handful of short pieces of synthesized music and one data track, plus a
// sample WAV file for Wav -> MP3.
//
//   make_demo_disc OUTPUT_FOLDER     -> OUTPUT_FOLDER/demo.cue, demo.bin, sample.wav

#include "DiscImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 44100.0;
constexpr std::uint32_t kSamplesPerFrame = 588;

// One piece: a key, a tempo, a chord progression and a melody over it.
struct Piece {
    double seconds;
    double tonicHz;
    double beatsPerMinute;
    std::array<int, 4> chordRoots; // scale degrees in semitones above the tonic
    std::array<int, 16> melody;    // semitones above the tonic, -1 for a rest, one per half beat
    double brightness;             // share of the upper partials
};

const std::vector<Piece>& Pieces() {
    static const std::vector<Piece> pieces = {
        {24,
         261.63,
         96,
         {0, 7, 9, 5},
         {12, 14, 16, -1, 19, 16, 14, 12, 14, -1, 16, 19, 21, 19, 16, 14},
         0.35},
        {40,
         220.00,
         72,
         {0, 5, 7, 0},
         {7, 9, 12, 9, 7, -1, 4, 7, 9, 12, 14, 12, 9, -1, 7, 4},
         0.20},
        {60,
         293.66,
         120,
         {0, 9, 5, 7},
         {12, -1, 12, 14, 16, 14, 12, 9, 7, 9, 12, -1, 16, 19, 16, 12},
         0.45},
        {8,
         196.00,
         84,
         {0, 7, 5, 0},
         {12, 11, 12, 16, 19, -1, 16, 12, 7, 9, 11, 12, -1, -1, 12, -1},
         0.30},
    };
    return pieces;
}

double Semitones(double hz, int semitones) {
    return hz * std::pow(2.0, semitones / 12.0);
}

// A soft plucked tone in a slot of `length` seconds: a few partials under a quick attack and an
// exponential decay, closed off smoothly before the slot ends so notes never click.
double Pluck(double hz, double t, double length, double brightness) {
    if (t < 0 || t >= length)
        return 0;
    const double envelope = std::min({1.0, t * 200.0, (length - t) * 100.0}) * std::exp(-t * 3.0);
    const double w = 2 * M_PI * hz * t;
    return envelope *
           (std::sin(w) + brightness * std::sin(2 * w) / 2 + brightness * std::sin(3 * w) / 4);
}

// Stereo sample n of a piece, in [-1, 1].
std::array<double, 2> Render(const Piece& piece, std::uint64_t n) {
    const double t = n / kRate;
    const double beat = 60.0 / piece.beatsPerMinute;
    const double bar = 4 * beat;
    const auto barIndex = static_cast<std::size_t>(t / bar);
    const double inBar = t - barIndex * bar;
    const int root = piece.chordRoots[barIndex % piece.chordRoots.size()];

    // Pad: the chord's triad, held through the bar, swelling in and out.
    double pad = 0;
    const double swell = std::sin(M_PI * inBar / bar);
    for (int interval : {0, 4, 7})
        pad += std::sin(2 * M_PI * Semitones(piece.tonicHz / 2, root + interval) * t);
    pad *= 0.07 * swell;

    // Bass on every beat.
    const double inBeat = std::fmod(t, beat);
    const double bass = 0.30 * Pluck(Semitones(piece.tonicHz / 4, root), inBeat, beat, 0.2);

    // Melody on half beats; the same phrase every two bars, an octave lower every other time.
    const double half = beat / 2;
    const auto step = static_cast<std::size_t>(t / half);
    const int note = piece.melody[step % piece.melody.size()];
    const int octave = (step / piece.melody.size()) % 2 ? -12 : 0;
    const double lead = note < 0 ? 0
                                 : 0.28 * Pluck(Semitones(piece.tonicHz, note + octave),
                                                std::fmod(t, half), half, piece.brightness);

    // Fade in and out so every track starts and ends in silence.
    const double fade = std::min({1.0, t / 0.5, (piece.seconds - t) / 1.5});
    const double left = (0.8 * pad + bass + 0.65 * lead) * std::max(0.0, fade);
    const double right = (0.8 * pad + bass + 0.35 * lead) * std::max(0.0, fade);
    return {left, right};
}

void PutSample(std::uint8_t* at, double value) {
    const auto s = static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 30000));
    at[0] = static_cast<std::uint8_t>(s & 0xFF);
    at[1] = static_cast<std::uint8_t>((s >> 8) & 0xFF);
}

discimage::FrameGenerator MusicOf(const Piece& piece) {
    return [piece](std::uint32_t frameInTrack, discimage::Frame out) {
        for (std::uint32_t i = 0; i < kSamplesPerFrame; ++i) {
            const auto [l, r] = Render(piece, std::uint64_t(frameInTrack) * kSamplesPerFrame + i);
            PutSample(out.data() + 4 * i, l);
            PutSample(out.data() + 4 * i + 2, r);
        }
    };
}

std::uint32_t Frames(double seconds) {
    return static_cast<std::uint32_t>(seconds * discimage::kFramesPerSecond);
}

void Put32(std::ofstream& out, std::uint32_t v) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(b, 4);
}
void Put16(std::ofstream& out, std::uint16_t v) {
    const char b[2] = {char(v), char(v >> 8)};
    out.write(b, 2);
}

bool WriteSampleWav(const std::string& path, const Piece& piece) {
    const std::uint32_t frames = Frames(piece.seconds);
    const std::uint32_t dataBytes = frames * discimage::kFrameBytes;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write("RIFF", 4);
    Put32(out, dataBytes + 36);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, 2);
    Put32(out, 44100);
    Put32(out, 176400);
    Put16(out, 4);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, dataBytes);
    const discimage::FrameGenerator music = MusicOf(piece);
    std::array<std::uint8_t, discimage::kFrameBytes> frame{};
    for (std::uint32_t f = 0; f < frames; ++f) {
        music(f, discimage::Frame(frame));
        out.write(reinterpret_cast<const char*>(frame.data()), frame.size());
    }
    return bool(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    std::vector<discimage::TrackSpec> tracks;
    for (const Piece& piece : Pieces())
        tracks.push_back({discimage::TrackSpec::Audio, Frames(piece.seconds), MusicOf(piece), 0});
    tracks.push_back({discimage::TrackSpec::Data, Frames(4), {}, 0});

    std::string error;
    if (!discimage::WriteCueBin(folder + "/demo.cue", tracks, &error)) {
        std::fprintf(stderr, "cannot write the demo disc: %s\n", error.c_str());
        return 1;
    }
    Piece sample = Pieces()[0];
    sample.seconds = 20;
    if (!WriteSampleWav(folder + "/sample.wav", sample)) {
        std::fprintf(stderr, "cannot write %s/sample.wav\n", folder.c_str());
        return 1;
    }
    return 0;
}
