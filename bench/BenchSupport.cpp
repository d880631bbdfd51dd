#include "BenchSupport.h"

#include "platform/ui/MainWindow.h"

#include <QFile>
#include <QProcess>
#include <cstdio>
#include <limits>

namespace bench {

BenchWindow::BenchWindow() {
    auto* bar = new platform::CStatusBar(this);
    setStatusBar(bar);
    bar->SetIndicators({{0, {}}, {59137, "CAP"}, {59138, "NUM"}, {59139, "SCRL"}});
    bar->SetPaneText(0, QStringLiteral("Ready"));
    resize(800, 500);
    platform::SetMainWindow(this);
}

BenchWindow::~BenchWindow() {
    platform::SetMainWindow(nullptr);
}

BoxesAnsweredAtOnce::BoxesAnsweredAtOnce(std::function<bool(const QString&)> expected)
    : m_expected(std::move(expected)) {
    platform::SetModalHandler(this);
}

BoxesAnsweredAtOnce::~BoxesAnsweredAtOnce() {
    platform::SetModalHandler(nullptr);
}

void BoxesAnsweredAtOnce::messageBox(const QString& text) {
    if (m_expected(text))
        return;
    std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
    failed = true;
}

std::optional<QString> BoxesAnsweredAtOnce::chooseFileToOpen(const platform::FileDialogRequest&) {
    return std::nullopt;
}

LoopProbe::LoopProbe() {
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, this, &LoopProbe::turn);
}

void LoopProbe::start() {
    m_longestGapNs = 0;
    m_peakRssKiB = CurrentRssKiB();
    m_clock.start();
    m_last = 0;
    m_timer.start();
}

void LoopProbe::stop() {
    turn();
    m_peakRssKiB = std::max(m_peakRssKiB, CurrentRssKiB());
    m_timer.stop();
}

void LoopProbe::turn() {
    const qint64 now = m_clock.nsecsElapsed();
    m_longestGapNs = std::max(m_longestGapNs, now - m_last);
    m_last = now;
    // Reading the figure costs a file read, so it is sampled now and then.
    if (++m_turns % 32 == 0)
        m_peakRssKiB = std::max(m_peakRssKiB, CurrentRssKiB());
}

long CurrentRssKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

double BestSeconds(int runs, const std::function<void()>& work) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        best = std::min(best, clock.nsecsElapsed() / 1e9);
    }
    return best;
}

double BestCommandSeconds(int runs, const QString& program, const QStringList& arguments) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(program, arguments);
        if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0)
            return -1;
        best = std::min(best, clock.nsecsElapsed() / 1e9);
    }
    return best;
}

} // namespace bench
