#include "platform/ui/JobGuard.h"

#include <QApplication>
#include <QTimer>
#include <vector>

namespace platform {

namespace {
int g_running = 0;

std::vector<std::function<void()>>& Held() {
    static std::vector<std::function<void()>> requests;
    return requests;
}

void RunHeld() {
    // A held request may itself start a job, which then holds the rest again.
    while (!Held().empty() && g_running == 0) {
        const std::function<void()> request = Held().front();
        Held().erase(Held().begin());
        request();
    }
}
} // namespace

JobGuard::JobGuard() {
    ++g_running;
}

JobGuard::~JobGuard() {
    if (--g_running == 0 && !Held().empty())
        QTimer::singleShot(0, [] { RunHeld(); });
}

bool JobGuard::Busy() { return g_running > 0; }

bool JobGuard::RefuseWhileBusy() {
    if (!Busy())
        return false;
    QApplication::beep();
    return true;
}

void JobGuard::RunWhenIdle(std::function<void()> request) {
    if (g_running == 0) {
        request();
        return;
    }
    Held().push_back(std::move(request));
}

} // namespace platform
