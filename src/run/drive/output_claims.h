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
//
// The outputs of a folder run that keeps its sub-folders ("/kh") come
// folder by folder as the walk goes down and back up the tree: once the
// claims have left a folder for one outside it, no later file writes into
// it, so its outputs need not be kept. A run of a million files then holds
// the outputs of the folders open on the walk, not of the whole run.

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

// How the outputs of a run's files lie in their folders, in ticket order.
enum class OutputFolders {
    AnyOrder,   // any file may write into any folder: every output is kept to the run's end
    TreeOrder,  // as a walk finds them: once left for a folder outside it, a folder is never written again
};

class OutputClaims {
public:
    // sourceOf names the file of a ticket (tickets count files in walk
    // order from 0); files is how many the run expects.
    using SourceOf = std::function<std::string(std::size_t ticket)>;
    explicit OutputClaims(SourceOf sourceOf = {}, std::size_t files = 0,
                          OutputFolders folders = OutputFolders::AnyOrder);

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
    // An output's name as the file system compares it: its hash, and its folder.
    struct Key {
        std::uint64_t hash;
        std::string folder;
    };
    Key key(const std::string& path) const;
    // The outputs written into a folder; with TreeOrder, the folders not
    // holding it are closed first (enter), and a closed folder has none (find).
    WrittenOutputs& enterFolder(const std::string& folder);
    WrittenOutputs* findFolder(const std::string& folder);
    bool earlierDecided(std::size_t ticket) const;
    bool overlapsEarlierInFlight(std::size_t ticket, const std::vector<Key>& names) const;

    const SourceOf sourceOf_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t nextTicket_ = 0;
    std::map<std::size_t, Entry> inFlight_;  // tickets that have not left
    const OutputFolders order_;
    const std::size_t files_;
    // The folders open on the walk, outermost first (AnyOrder: one for all).
    struct FolderOutputs {
        std::string folder;
        WrittenOutputs outputs;
    };
    std::vector<FolderOutputs> folders_;
};

}  // namespace quillon
