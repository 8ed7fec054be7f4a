#pragma once

#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

// Long work whose parallel loops must have every processor core while the
// GUI thread stays free for a progress dialog: colour tables, picture
// import, set optimisation. The work runs on a thread of its own, outside
// the global thread pool, so that a loop it starts on that pool finds every
// pool thread idle (a work item of the pool itself would hold one of them
// and leave the loop a core short). The GUI thread polls the job.
class ParallelJob {
public:
    // What the work sees: where it reports its progress and whether it was
    // asked to stop.
    class Control {
    public:
        void report(int percent) { progress = percent < 0 ? 0 : percent > 100 ? 100 : percent; }
        bool isCancelled() const { return cancelled; }

    private:
        friend class ParallelJob;
        std::atomic<int> progress {0};
        std::atomic<bool> cancelled {false};
    };
    using Work = std::function<void(Control& control)>;

    // Starts the work at once.
    explicit ParallelJob(Work work);
    // Asks the work to stop and waits for it.
    ~ParallelJob();
    ParallelJob(const ParallelJob&) = delete;
    ParallelJob& operator=(const ParallelJob&) = delete;

    bool isFinished() const { return thread->isFinished(); }
    // The share done as last reported, 0 to 100.
    int progress() const { return control->progress; }
    void cancel() { control->cancelled = true; }
    // Waits for the end, calling whileWaiting every interval on the calling
    // thread (a GUI repaints its progress dialog there).
    void wait(const std::function<void()>& whileWaiting = {}, int intervalMilliseconds = 25);

private:
    std::shared_ptr<Control> control;
    std::unique_ptr<QThread> thread;
};
