#include "run/plan/spooled_tasks.h"

#include "platform/paths.h"
#include "run/plan/folder_walk.h"

namespace quillon {

void SpooledTasks::add(const std::string& relative) {
    if (count_ % kIndexStep == 0) index_.push_back(names_.size());
    names_.append(relative);
    names_.append(std::string_view("", 1));
    ++count_;
}

bool SpooledTasks::Reader::next(std::string& name) {
    for (;;) {
        const std::size_t end = buffer_.find('\0', at_);
        if (end != std::string::npos) {
            name.assign(buffer_, at_, end - at_);
            at_ = end + 1;
            return true;
        }
        buffer_.erase(0, at_);
        at_ = 0;
        const std::size_t had = buffer_.size();
        buffer_.resize(had + piece_);
        const std::size_t got = spool_.read(offset_, buffer_.data() + had, piece_);
        buffer_.resize(had + got);
        offset_ += got;
        if (got == 0) return false;
    }
}

FileTask SpooledTasks::next() {
    std::string relative;
    if (handedOut_ == count_ || !walkOrder_.next(relative)) return {};
    ++handedOut_;
    return {platform::joinPath(naming_.sourceFolder, relative),
            folderOutputPath(naming_.sourceFolder, relative, naming_.destination, naming_.keepExtension,
                             naming_.keepHierarchy, outputExtension(naming_.format))};
}

std::string SpooledTasks::sourceOf(std::size_t item) const {
    if (item >= count_) return {};
    // A name is some tens of bytes: a few KiB hold the names up to item.
    Reader reader(names_, index_[item / kIndexStep], std::size_t(1) << 13);
    std::string relative;
    for (std::size_t skip = item % kIndexStep; skip > 0; --skip) reader.next(relative);
    if (!reader.next(relative)) return {};
    return platform::joinPath(naming_.sourceFolder, relative);
}

}  // namespace quillon
