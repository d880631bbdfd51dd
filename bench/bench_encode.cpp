// Wav -> MP3 through the real job (offscreen window, real status bar and progress bar) against
// Debian's lame command on the same audio and settings, in one run. Prints the time ratio, the
// job's extra memory for a small and a large input, and the longest gap between two turns of
// the event loop while the job runs.

#include "BenchSupport.h"

#include "encoding/EncodeWavFile.h"
#include "encoding/EncoderLibrary.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstdio>

namespace {

// Music-like material: a few partials that move, so the encoder does real work.
bool WriteCdWav(const QString& path, double seconds) {
    const auto frames = static_cast<std::uint32_t>(seconds * 44100);
    QByteArray data(44 + frames * 4, Qt::Uninitialized);
    char* h = data.data();
    std::memcpy(h, "RIFF", 4);
    qToLittleEndian<std::uint32_t>(frames * 4 + 36, h + 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    qToLittleEndian<std::uint32_t>(16, h + 16);
    qToLittleEndian<std::uint16_t>(1, h + 20);
    qToLittleEndian<std::uint16_t>(2, h + 22);
    qToLittleEndian<std::uint32_t>(44100, h + 24);
    qToLittleEndian<std::uint32_t>(176400, h + 28);
    qToLittleEndian<std::uint16_t>(4, h + 32);
    qToLittleEndian<std::uint16_t>(16, h + 34);
    std::memcpy(h + 36, "data", 4);
    qToLittleEndian<std::uint32_t>(frames * 4, h + 40);
    auto* s = reinterpret_cast<std::int16_t*>(h + 44);
    std::uint32_t noise = 1;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = i / 44100.0;
        const double f = 220.0 * std::pow(2.0, std::floor(t * 2) / 12.0 - std::floor(t / 6));
        noise = noise * 1664525u + 1013904223u;
        const double n = (int(noise >> 16) - 32768) / 32768.0;
        const double l =
            0.45 * std::sin(2 * M_PI * f * t) + 0.2 * std::sin(2 * M_PI * 3 * f * t) + 0.05 * n;
        const double r = 0.45 * std::sin(2 * M_PI * 1.5 * f * t) +
                         0.15 * std::sin(2 * M_PI * 5 * f * t) + 0.05 * n;
        s[2 * i] = static_cast<std::int16_t>(l * 26000);
        s[2 * i + 1] = static_cast<std::int16_t>(r * 26000);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Verbeno");
    bench::BenchWindow window;
    window.show();
    // The job must not stop for boxes in a benchmark: any box is a failure.
    bench::BoxesAnsweredAtOnce boxes([](const QString&) { return false; });

    QTemporaryDir dir;
    const QString large = dir.filePath("four-minutes.wav");
    const QString small = dir.filePath("ten-seconds.wav");
    if (!WriteCdWav(large, 240) || !WriteCdWav(small, 10) || !BindEncoderLibrary()) {
        std::fprintf(stderr, "setup failed\n");
        return 1;
    }
    EncoderSettings settings;
    settings.bitrateIndex = 8; // 128 kbit/s
    settings.channelIndex = 2; // stereo

    bench::LoopProbe probe;
    auto encode = [&](const QString& path) {
        probe.start();
        EncodeWavFile(path, settings, false);
        probe.stop();
    };

    // Memory first, each from a settled process.
    encode(small);
    const long beforeSmall = bench::CurrentRssKiB();
    encode(small);
    const long smallPeak = probe.peakRssKiB() - beforeSmall;
    const long beforeLarge = bench::CurrentRssKiB();
    encode(large);
    const long largePeak = probe.peakRssKiB() - beforeLarge;
    const double gap = probe.longestGapMs();

    const int runs = 3;
    const double ours = bench::BestSeconds(runs, [&] { encode(large); });
    // The same encoding by the command: CBR 128 kbit/s, simple stereo, LAME's default quality,
    // no Xing frame, no tags, no ReplayGain analysis (the library does none either).
    const double lame =
        bench::BestCommandSeconds(runs, "lame",
                                  {"--silent", "-b", "128", "--cbr", "-m", "s", "-t",
                                   "--noreplaygain", large, dir.filePath("lame.mp3")});
    if (lame < 0 || boxes.failed) {
        std::fprintf(stderr, "lame or the job failed\n");
        return 1;
    }

    std::printf("Wav -> MP3, 4 minutes of CD audio at 128 kbit/s stereo (best of %d)\n", runs);
    std::printf("  Verbeno job:  %.3f s\n", ours);
    std::printf("  lame command: %.3f s\n", lame);
    std::printf("  ratio Verbeno/lame: %.3f  (goal <= 1.05)\n", ours / lame);
    std::printf(
        "  extra memory during the job: 10 s input %ld KiB, 4 min input %ld KiB  (goal: flat)\n",
        smallPeak, largePeak);
    std::printf("  longest gap between two turns of the event loop: %.1f ms  (goal <= 50 ms)\n",
                gap);
    return 0;
}
