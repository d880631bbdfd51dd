#pragma once
// What the benchmarks share: an offscreen main window with the program's status bar, a probe
// of the event loop's turns, resident-memory sampling, and a stopwatch.

#include "platform/ui/ModalSeam.h"
#include "platform/ui/StatusBar.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QObject>
#include <QTimer>
#include <functional>

namespace bench {

// A plain frame with the program's status bar, registered as the main window.
class BenchWindow : public QMainWindow {
public:
    BenchWindow();
    ~BenchWindow() override;
};

// Answers every message box at once while it lives; a box whose text `expected` does not accept
// is printed and marks the run as failed. File dialogs are cancelled.
class BoxesAnsweredAtOnce : public platform::ModalHandler {
public:
    explicit BoxesAnsweredAtOnce(std::function<bool(const QString&)> expected);
    ~BoxesAnsweredAtOnce() override;
    void messageBox(const QString& text) override;
    std::optional<QString> chooseFileToOpen(const platform::FileDialogRequest&) override;
    bool failed = false;

private:
    std::function<bool(const QString&)> m_expected;
};

// Samples while a job runs: the longest time between two turns of the event loop, and the peak
// resident memory seen at those turns.
class LoopProbe : public QObject {
public:
    LoopProbe();
    void start();
    void stop();
    double longestGapMs() const { return m_longestGapNs / 1e6; }
    long peakRssKiB() const { return m_peakRssKiB; }

private:
    void turn();
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longestGapNs = 0;
    long m_peakRssKiB = 0;
    long m_turns = 0;
};

long CurrentRssKiB();
// Wall-clock seconds of the best of `runs` runs of `work`.
double BestSeconds(int runs, const std::function<void()>& work);
// Runs a command line; wall-clock seconds of the best of `runs`, or a negative number on failure.
double BestCommandSeconds(int runs, const QString& program, const QStringList& arguments);

} // namespace bench
