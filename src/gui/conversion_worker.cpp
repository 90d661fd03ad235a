#include "gui/conversion_worker.h"

#include <QCoreApplication>

namespace quillon {

GuiThreadObserver::GuiThreadObserver(QObject* context, std::unique_ptr<RunObserver> target)
    : context_(context), target_(std::move(target)) {}

template <class Call>
void GuiThreadObserver::onGuiThread(Call&& call) {
    QMetaObject::invokeMethod(context_, std::forward<Call>(call), Qt::BlockingQueuedConnection);
}

void GuiThreadObserver::saveFolderFailed() {
    onGuiThread([this] { target_->saveFolderFailed(); });
}

void GuiThreadObserver::fileStarted(int row, const std::string& source) {
    onGuiThread([&] { target_->fileStarted(row, source); });
}

void GuiThreadObserver::fileFinished(int row, const std::string& output, const std::string& resultText) {
    onGuiThread([&] { target_->fileFinished(row, output, resultText); });
}

void GuiThreadObserver::runFinished(int converted, const std::string& results) {
    onGuiThread([&] { target_->runFinished(converted, results); });
}

ConversionWorker::ConversionWorker(RunPlan plan, std::unique_ptr<RunObserver> observer)
    : plan_(std::move(plan)), observer_(std::move(observer)) {}

ConversionWorker::~ConversionWorker() { stopAndWait(); }

void ConversionWorker::stopAndWait() {
    requestStop();
    while (!wait(QDeadlineTimer(20))) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ConversionWorker::run() { performRun(plan_, *observer_, stop_); }

}  // namespace quillon
