#pragma once
// The folders whose entries a run changed: each output's folder, the folders
// made above it up to the destination, and the one holding the destination.
// A renamed or new file is only sure to be found after a power cut once its
// folder is synced, so the run syncs each of them once, at its end, rather
// than once a file.

#include <set>
#include <string>
#include <vector>

namespace quillon {

class SyncedFolders {
public:
    // destination: the folder the run writes into (a folder run's "/sd=",
    // the folder of a file run's output).
    explicit SyncedFolders(std::string destination);
    void add(const std::string& output);
    // Syncs them; the ones that could not be synced.
    std::vector<std::string> sync() const;

private:
    std::string destination_;
    std::set<std::string> folders_;
};

}  // namespace quillon
