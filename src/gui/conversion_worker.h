#pragma once
// The worker thread of one conversion run. It reports to the page through
// calls that the GUI thread carries out while the worker waits, so the page's
// widgets are only ever touched by the GUI thread.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "gui/conversion_run.h"

class QObject;

namespace quillon {

// Hands every call to `target` over to the thread of `context` and waits until
// it has been carried out there. Must be called from another thread.
class GuiThreadObserver : public RunObserver {
public:
    GuiThreadObserver(QObject* context, std::unique_ptr<RunObserver> target);

    void saveFolderFailed() override;
    void fileStarted(int row, const std::string& source) override;
    void fileFinished(int row, const RowOutcome& outcome) override;
    void runFinished(const RunEnd& end) override;

private:
    template <class Call>
    void onGuiThread(Call&& call);

    QObject* context_;
    std::unique_ptr<RunObserver> target_;
    // Orders the two threads' accesses around each call in a way that
    // ThreadSanitizer can see; Qt's own hand-over is a futex it cannot.
    std::mutex handOver_;
};

class ConversionWorker {
public:
    // Starts the run at once. When it has ended, `ended` is called on the
    // thread of `context` (unless context is gone by then).
    ConversionWorker(PageRun run, std::unique_ptr<RunObserver> observer, QObject* context,
                     std::function<void()> ended);
    ~ConversionWorker();
    ConversionWorker(const ConversionWorker&) = delete;
    ConversionWorker& operator=(const ConversionWorker&) = delete;

    // The run converts no further file and finishes; thread-safe.
    void requestStop() { stop_ = true; }
    bool hasEnded() const { return ended_; }
    // Requests the stop and waits for the thread to end, for at most `limit`
    // when one is given, carrying out the calls it makes to the GUI thread
    // meanwhile (it is blocked on them otherwise). User input waits until
    // afterwards, so that no click starts or stops a run during the wait.
    // True when the thread has ended. Call it on the GUI thread.
    bool stopAndWait(std::optional<std::chrono::milliseconds> limit = std::nullopt);

private:
    PageRun run_;
    std::unique_ptr<RunObserver> observer_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> ended_{false};
    std::thread thread_;
};

}  // namespace quillon
