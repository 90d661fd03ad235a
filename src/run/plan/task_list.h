#pragma once
// The files of a run, handed out one at a time in walk order: a folder run
// reads them back from where its walk wrote them (spooled_tasks.h), the
// window and a one-file run hold theirs in a list.

#include <cstddef>
#include <string>
#include <vector>

namespace quillon {

struct FileTask {
    std::string source;
    std::string output;
};

class TaskList {
public:
    virtual ~TaskList() = default;
    virtual std::size_t count() const = 0;
    // The next file in walk order; called at most count() times, one call at a time.
    virtual FileTask next() = 0;
    // The source of a file next() handed out (item: its place in walk order),
    // to name it again; from any thread, also while next() runs.
    virtual std::string sourceOf(std::size_t item) const = 0;
};

// Files held in a list.
class ListedTasks final : public TaskList {
public:
    ListedTasks() = default;
    explicit ListedTasks(std::vector<FileTask> tasks) : tasks_(std::move(tasks)) {}
    std::size_t count() const override { return tasks_.size(); }
    FileTask next() override;
    std::string sourceOf(std::size_t item) const override;

private:
    std::vector<FileTask> tasks_;
    std::size_t next_ = 0;
};

}  // namespace quillon
