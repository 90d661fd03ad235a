#include "gui/conversion_worker.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>

namespace quillon {

GuiThreadObserver::GuiThreadObserver(QObject* context, std::unique_ptr<RunObserver> target)
    : context_(context), target_(std::move(target)) {}

template <class Call>
void GuiThreadObserver::onGuiThread(Call&& call) {
    handOver_.lock();
    handOver_.unlock();
    QMetaObject::invokeMethod(
        context_,
        [&] {
            std::lock_guard lock(handOver_);
            call();
        },
        Qt::BlockingQueuedConnection);
    std::lock_guard lock(handOver_);
}

void GuiThreadObserver::saveFolderFailed() {
    onGuiThread([this] { target_->saveFolderFailed(); });
}

void GuiThreadObserver::fileStarted(int row, const std::string& source) {
    onGuiThread([&] { target_->fileStarted(row, source); });
}

void GuiThreadObserver::fileFinished(int row, const RowOutcome& outcome) {
    onGuiThread([&] { target_->fileFinished(row, outcome); });
}

void GuiThreadObserver::runFinished(const RunEnd& end) {
    onGuiThread([&] { target_->runFinished(end); });
}

ConversionWorker::ConversionWorker(PageRun run, std::unique_ptr<RunObserver> observer, QObject* context,
                                   std::function<void()> ended)
    : run_(std::move(run)), observer_(std::move(observer)) {
    thread_ = std::thread([this, context, ended = std::move(ended)] {
        performRun(run_, *observer_, stop_);
        ended_ = true;
        // Also wakes a GUI thread waiting in stopAndWait().
        QMetaObject::invokeMethod(context, ended, Qt::QueuedConnection);
    });
}

ConversionWorker::~ConversionWorker() { stopAndWait(); }

bool ConversionWorker::stopAndWait(std::optional<std::chrono::milliseconds> limit) {
    requestStop();
    bool outOfTime = false;
    // Its timeout also wakes the wait below when the worker stays silent.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&outOfTime] { outOfTime = true; });
    if (limit) deadline.start(*limit);
    while (!ended_ && !outOfTime)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    if (!ended_) return false;
    if (thread_.joinable()) thread_.join();
    return true;
}

}  // namespace quillon
