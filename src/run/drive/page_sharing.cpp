#include "run/drive/page_sharing.h"

#include <algorithm>

namespace quillon {

PageSharing::PageSharing(unsigned workers) : converting_(std::max(1u, workers)) {}

bool PageSharing::workOnOne(Pages& pages, std::unique_lock<std::mutex>& lock) {
    if (pages.next == pages.count) return false;
    const std::size_t page = pages.next++;
    ++pages.running;
    lock.unlock();
    std::exception_ptr failure;
    try {
        pages.work(page);
    } catch (...) {
        failure = std::current_exception();
    }
    lock.lock();
    if (failure && !pages.failure) pages.failure = failure;
    --pages.running;
    changed_.notify_all();
    return true;
}

void PageSharing::workOnPages(std::size_t count, const std::function<void(std::size_t)>& work) {
    std::unique_lock lock(mutex_);
    const auto pages = open_.insert(open_.end(), Pages{count, work});
    changed_.notify_all();
    while (workOnOne(*pages, lock)) {
    }
    // work lives on this thread's stack: it must outlast the helpers' calls.
    changed_.wait(lock, [&] { return pages->running == 0; });
    const std::exception_ptr failure = pages->failure;
    open_.erase(pages);
    if (failure) std::rethrow_exception(failure);
}

void PageSharing::helpUntilDone() {
    std::unique_lock lock(mutex_);
    --converting_;
    changed_.notify_all();
    for (;;) {
        // A worker still converting may post its pages; once none is, every
        // posted page has been taken (workOnPages returns only then).
        const auto untaken = [this] {
            return std::find_if(open_.begin(), open_.end(), [](const Pages& p) { return p.next < p.count; });
        };
        changed_.wait(lock, [&] { return converting_ == 0 || untaken() != open_.end(); });
        const auto pages = untaken();
        if (pages == open_.end()) return;
        workOnOne(*pages, lock);
    }
}

}  // namespace quillon
