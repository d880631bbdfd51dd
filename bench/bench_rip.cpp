// CD -> Wav from a disc image through the real track list dialog and ripper (offscreen window,
// boxes answered at once), beside cd-paranoia -Z on the same image and a plain copy of the
// image's bytes, in one run. Prints both time ratios, the peak memory, and the longest gap
// between two turns of the event loop while the rip runs.

#include "BenchSupport.h"

#include "DiscImage.h"
#include "cd/TrackListDlg.h"
#include "platform/ui/ControlId.h"
#include "res/resource.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Selects every track, presses Rip, then OK, all from inside the dialog's own loop.
void RipEverything(bench::LoopProbe& probe) {
    CTrackListDlg dialog;
    QTimer::singleShot(0, &dialog, [&] {
        for (int row = 0; row < dialog.m_trackList->count(); ++row)
            dialog.m_trackList->item(row)->setSelected(true);
        probe.start();
        platform::FindControl<QPushButton>(&dialog, res::IDC_RIP)->click();
        probe.stop();
        dialog.OnOK();
    });
    dialog.DoModal();
    dialog.CloseCd();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Verbeno");
    bench::BenchWindow window;
    window.show();
    bench::BoxesAnsweredAtOnce boxes([](const QString& text) {
        return text.startsWith(QLatin1String("Ripping ")) ||
               text == QLatin1String("Finished Ripping");
    });

    // Twenty-two minutes of audio in ten tracks.
    QTemporaryDir dir;
    std::vector<discimage::TrackSpec> tracks(10, {discimage::TrackSpec::Audio, 132 * 75, {}, 0});
    const std::string cue = dir.filePath("disc.cue").toStdString();
    std::string error;
    if (!discimage::WriteCueBin(cue, tracks, &error)) {
        std::fprintf(stderr, "cannot write the image: %s\n", error.c_str());
        return 1;
    }
    const QString bin = QString::fromStdString(discimage::BinPathFor(cue));
    qputenv("VERBENO_CD_DEVICE", cue.c_str());
    const QString ours = dir.filePath("verbeno");
    const QString paranoia = dir.filePath("paranoia");
    QDir().mkpath(ours);
    QDir().mkpath(paranoia);

    const int runs = 3;
    bench::LoopProbe probe;
    const long rssBefore = bench::CurrentRssKiB();
    QDir::setCurrent(ours);
    const double verbeno = bench::BestSeconds(runs, [&] { RipEverything(probe); });
    const long peakExtra = probe.peakRssKiB() - rssBefore;
    const double gap = probe.longestGapMs();

    QDir::setCurrent(paranoia);
    const double cdParanoia = bench::BestCommandSeconds(
        runs, "cd-paranoia", {"-Z", "-B", "-q", "-d", QString::fromStdString(cue), "1-10"});
    // A plain copy through user space, in blocks of a megabyte.
    const double copy = bench::BestCommandSeconds(
        runs, "dd", {"if=" + bin, "of=" + dir.filePath("copy.bin"), "bs=1M", "status=none"});
    // Each side must have written every track in full.
    auto written = [](const QString& folder) {
        qint64 total = 0;
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files))
            total += file.size();
        return total;
    };
    const qint64 audioBytes = QFileInfo(bin).size();
    if (written(ours) != audioBytes + 10 * 44 || written(paranoia) != audioBytes + 10 * 44) {
        std::fprintf(stderr, "incomplete output: Verbeno %lld, cd-paranoia %lld of %lld bytes\n",
                     written(ours), written(paranoia), audioBytes + 10 * 44);
        return 1;
    }
    if (cdParanoia < 0 || copy < 0 || boxes.failed) {
        std::fprintf(stderr, "cd-paranoia, the copy or the rip failed\n");
        return 1;
    }
    const double megabytes = QFileInfo(bin).size() / 1e6;
    std::printf(
        "CD -> Wav, 22 minutes of audio in 10 tracks (%.0f MB) from a cue/bin image (best of %d)\n",
        megabytes, runs);
    std::printf("  Verbeno rip:      %.3f s\n", verbeno);
    std::printf("  cd-paranoia -Z:   %.3f s\n", cdParanoia);
    std::printf("  copy of the .bin: %.3f s\n", copy);
    std::printf("  ratio Verbeno/cd-paranoia: %.3f  (goal <= 1.0)\n", verbeno / cdParanoia);
    std::printf("  ratio Verbeno/copy:        %.3f  (goal <= 1.5)\n", verbeno / copy);
    std::printf("  peak extra memory during the rip: %ld KiB\n", peakExtra);
    std::printf("  longest gap between two turns of the event loop: %.1f ms  (goal <= 50 ms)\n",
                gap);
    return 0;
}
