#pragma once
// A folder run's files as its walk found them, written to a spool instead of
// held: each name relative to the source folder followed by a NUL (names may
// hold line ends, never a NUL), read back one at a time as workers take
// them. A run of many files holds only a few bytes a file, and every few
// hundredth name's place, so that an earlier file is named again by reading
// at most that many names.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text_spool.h"
#include "run/plan/task_list.h"
#include "run/request/output_format.h"

namespace quillon {

// How a folder run names its outputs ("/sd=", "/ke", "/kh", the format).
struct FolderNaming {
    std::string sourceFolder;
    std::string destination;
    bool keepExtension = false;
    bool keepHierarchy = false;
    OutputFormat format = OutputFormat::Tiff;
};

class SpooledTasks final : public TaskList {
public:
    explicit SpooledTasks(FolderNaming naming) : naming_(std::move(naming)) {}

    // A file the walk found (its path relative to the source folder), in walk order.
    void add(const std::string& relative);
    // False when the spool lost names (a full temporary folder).
    bool whole() const { return !names_.failed(); }

    std::size_t count() const override { return count_; }
    FileTask next() override;
    std::string sourceOf(std::size_t item) const override;

private:
    // Names read from a place in the spool, a piece at a time.
    class Reader {
    public:
        Reader(const platform::TextSpool& spool, std::uint64_t offset, std::size_t piece)
            : spool_(spool), offset_(offset), piece_(piece) {}
        // The next name; false at the end of the spool.
        bool next(std::string& name);

    private:
        const platform::TextSpool& spool_;
        std::uint64_t offset_;
        std::size_t piece_;
        std::string buffer_;
        std::size_t at_ = 0;
    };
    static constexpr std::size_t kIndexStep = 256;

    FolderNaming naming_;
    platform::TextSpool names_;
    std::vector<std::uint64_t> index_;  // the place of names 0, 256, 512, ...
    std::size_t count_ = 0;
    Reader walkOrder_{names_, 0, std::size_t(1) << 16};
    std::size_t handedOut_ = 0;
};

}  // namespace quillon
