#pragma once
// The pages of the files in progress, shared out to the workers that have no
// file left to take. Recognising a page takes about a second against a few
// milliseconds to convert it, so at the end of a run, or on one long fax, a
// worker per file would leave the other cores idle while one of them reads
// page after page.

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <list>
#include <mutex>

namespace quillon {

class PageSharing {
public:
    // workers: the threads that convert files and, once they have none left,
    // call helpUntilDone; 1 for a thread that converts alone.
    explicit PageSharing(unsigned workers);

    // On the thread converting a file: calls work(page) for the pages 0 to
    // count - 1, each once, on this thread and on any idle worker, and
    // returns when every call has returned. work must be safe to call on
    // several threads at once for different pages. An exception from one of
    // the calls is thrown here once the others have returned.
    void workOnPages(std::size_t count, const std::function<void(std::size_t page)>& work);

    // On a worker with no file left to take: works on the pages of the files
    // still in progress, oldest first, until no worker converts any more.
    void helpUntilDone();

private:
    struct Pages {
        std::size_t count;
        const std::function<void(std::size_t)>& work;
        std::size_t next = 0;     // the first page nobody has taken
        std::size_t running = 0;  // pages taken whose call has not returned
        std::exception_ptr failure{};
    };
    // Takes and works on one page of pages; false when none is left to take.
    bool workOnOne(Pages& pages, std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable changed_;  // pages posted or done, or a worker stopped
    std::list<Pages> open_;            // the files whose pages are being worked on
    unsigned converting_;              // workers that have not yet called helpUntilDone
};

}  // namespace quillon
