#include "run/plan/task_list.h"

namespace quillon {

FileTask ListedTasks::next() { return next_ < tasks_.size() ? tasks_[next_++] : FileTask{}; }

std::string ListedTasks::sourceOf(std::size_t item) const {
    return item < tasks_.size() ? tasks_[item].source : std::string();
}

}  // namespace quillon
