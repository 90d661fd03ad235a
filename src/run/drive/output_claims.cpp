#include "run/drive/output_claims.h"

#include <algorithm>

#include "platform/paths.h"
#include "run/plan/stable_hash.h"

namespace quillon {

namespace {

// Whether folder is outer or lies somewhere below it ("" is the current
// folder, which holds every relative name).
bool within(const std::string& folder, const std::string& outer) {
    if (outer.empty()) return true;
    if (folder.compare(0, outer.size(), outer) != 0) return false;
    return folder.size() == outer.size() || platform::isPathSeparator(outer.back()) ||
           platform::isPathSeparator(folder[outer.size()]);
}

}  // namespace

OutputClaims::OutputClaims(SourceOf sourceOf, std::size_t files, OutputFolders folders)
    : sourceOf_(std::move(sourceOf)), order_(folders), files_(files) {}

// "out//a.tif" and "out/./a.tif" are one file (and on Windows "OUT\A.TIF").
// Outputs in any order all count as in one folder, "", which holds them all.
OutputClaims::Key OutputClaims::key(const std::string& path) const {
    const std::string keyed = platform::pathKey(path);
    return {stableHash(keyed), order_ == OutputFolders::TreeOrder ? platform::folderPart(keyed) : std::string()};
}

// One folder for all the run's outputs gets room for every file at once:
// it costs address space only, while growing by copies would for a moment
// cost twice the outputs. A walk's folders grow as they fill: room for all
// in each would leave the heap strewn with the few pages each one touched.
WrittenOutputs& OutputClaims::enterFolder(const std::string& folder) {
    while (!folders_.empty() && !within(folder, folders_.back().folder)) folders_.pop_back();
    if (folders_.empty() || folders_.back().folder != folder) {
        folders_.push_back({folder, {}});
        folders_.back().outputs.expect(order_ == OutputFolders::AnyOrder ? files_ : 0);
    }
    return folders_.back().outputs;
}

WrittenOutputs* OutputClaims::findFolder(const std::string& folder) {
    for (auto open = folders_.rbegin(); open != folders_.rend(); ++open)
        if (open->folder == folder) return &open->outputs;
    return nullptr;
}

std::size_t OutputClaims::enter() {
    std::lock_guard lock(mutex_);
    inFlight_[nextTicket_];
    return nextTicket_++;
}

bool OutputClaims::earlierDecided(std::size_t ticket) const {
    for (const auto& [other, entry] : inFlight_) {
        if (other >= ticket) break;
        if (!entry.claimed) return false;
    }
    return true;
}

bool OutputClaims::overlapsEarlierInFlight(std::size_t ticket, const std::vector<Key>& names) const {
    for (const auto& [other, entry] : inFlight_) {
        if (other >= ticket) break;
        for (const Key& name : names)
            if (std::find(entry.names.begin(), entry.names.end(), name.hash) != entry.names.end()) return true;
    }
    return false;
}

std::optional<EarlierOutput> OutputClaims::claim(std::size_t ticket, const std::vector<std::string>& names) {
    std::vector<Key> keys;
    for (const std::string& name : names) keys.push_back(key(name));
    std::optional<std::size_t> earlier;
    std::size_t taken = 0;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return earlierDecided(ticket) && !overlapsEarlierInFlight(ticket, keys); });
        Entry& entry = inFlight_[ticket];
        entry.claimed = true;
        changed_.notify_all();
        for (; taken < keys.size() && !earlier; ++taken)
            earlier = enterFolder(keys[taken].folder).writer(keys[taken].hash);
        if (!earlier) {
            for (const Key& name : keys) entry.names.push_back(name.hash);
            return std::nullopt;
        }
    }
    // Named outside the lock: the name is read back from the run's list of files.
    const bool named = sourceOf_ && *earlier != WrittenOutputs::kFarTicket;
    return EarlierOutput{names[taken - 1], named ? sourceOf_(*earlier) : std::string("an earlier file")};
}

void OutputClaims::leave(std::size_t ticket, const std::vector<std::string>& written) {
    std::lock_guard lock(mutex_);
    for (const std::string& path : written) {
        const Key name = key(path);
        // A folder closed since the claim gets no later file's claim.
        if (WrittenOutputs* folder = findFolder(name.folder)) folder->add(name.hash, ticket);
    }
    inFlight_.erase(ticket);
    changed_.notify_all();
}

}  // namespace quillon
