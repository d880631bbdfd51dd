#pragma once
// Long jobs run on the user-interface thread and dispatch events once per chunk, so the user
// can ask for things meanwhile that must not happen inside a job: another job, or closing the
// window that the job reports into. A job holds a JobGuard for as long as it runs; such
// requests are refused (Busy) or held until the last job has ended (RunWhenIdle).

#include <functional>

namespace platform {

class JobGuard {
public:
    JobGuard();
    ~JobGuard();
    JobGuard(const JobGuard&) = delete;
    JobGuard& operator=(const JobGuard&) = delete;

    static bool Busy();
    // For the commands that start a job: true, after a beep, when one already runs.
    static bool RefuseWhileBusy();
    // Runs `request` now when no job runs; otherwise once the last job has ended, from the
    // event loop, after the job's own code has returned.
    static void RunWhenIdle(std::function<void()> request);
};

} // namespace platform
