#pragma once
// The outputs written so far in one run, with the file each came from, so
// that a later file of the same run never overwrites one of them: two faxes
// named alike in different folders (or x.fxd beside x.fxs) would otherwise
// leave one output and two "Success !" lines.
//
// Files of a run may be converted by several workers at once and still
// decide as a sequential run would: each file takes a ticket in walk order,
// claims its output names before it writes, and leaves with what it wrote.
// A claim waits until every earlier file has claimed (or left), and for an
// earlier file that claimed one of the same names, until it has left.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "run/drive/written_outputs.h"

namespace quillon {

// An output that an earlier file of the run wrote, and that file.
struct EarlierOutput {
    std::string path;
    std::string source;
};

class OutputClaims {
public:
    // sourceOf names the file of a ticket (tickets count files in walk
    // order from 0); files is how many the run expects.
    using SourceOf = std::function<std::string(std::size_t ticket)>;
    explicit OutputClaims(SourceOf sourceOf = {}, std::size_t files = 0);

    // The next ticket in walk order.
    std::size_t enter();
    // Claims the names for the ticket's file; returns the first of them that
    // an earlier file of this run wrote, if any (the file must then write none).
    std::optional<EarlierOutput> claim(std::size_t ticket, const std::vector<std::string>& names);
    // The ticket's file is done; written are the files it wrote. Every
    // ticket leaves once, also when its file failed before claiming.
    void leave(std::size_t ticket, const std::vector<std::string>& written);

private:
    struct Entry {
        bool claimed = false;
        std::vector<std::uint64_t> names;
    };
    static std::uint64_t key(const std::string& path);
    bool earlierDecided(std::size_t ticket) const;
    bool overlapsEarlierInFlight(std::size_t ticket, const std::vector<std::uint64_t>& names) const;

    const SourceOf sourceOf_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t nextTicket_ = 0;
    std::map<std::size_t, Entry> inFlight_;  // tickets that have not left
    WrittenOutputs written_;
};

}  // namespace quillon
