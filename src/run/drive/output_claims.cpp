#include "run/drive/output_claims.h"

#include <algorithm>

#include "platform/paths.h"
#include "run/plan/stable_hash.h"

namespace quillon {

OutputClaims::OutputClaims(SourceOf sourceOf, std::size_t files) : sourceOf_(std::move(sourceOf)) {
    written_.expect(files);
}

// "out//a.tif" and "out/./a.tif" are one file (and on Windows "OUT\A.TIF").
std::uint64_t OutputClaims::key(const std::string& path) { return stableHash(platform::pathKey(path)); }

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

bool OutputClaims::overlapsEarlierInFlight(std::size_t ticket, const std::vector<std::uint64_t>& names) const {
    for (const auto& [other, entry] : inFlight_) {
        if (other >= ticket) break;
        for (const std::uint64_t name : names)
            if (std::find(entry.names.begin(), entry.names.end(), name) != entry.names.end()) return true;
    }
    return false;
}

std::optional<EarlierOutput> OutputClaims::claim(std::size_t ticket, const std::vector<std::string>& names) {
    std::vector<std::uint64_t> keys;
    for (const std::string& name : names) keys.push_back(key(name));
    std::optional<std::size_t> earlier;
    std::size_t taken = 0;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return earlierDecided(ticket) && !overlapsEarlierInFlight(ticket, keys); });
        Entry& entry = inFlight_[ticket];
        entry.claimed = true;
        changed_.notify_all();
        for (; taken < keys.size() && !earlier; ++taken) earlier = written_.writer(keys[taken]);
        if (!earlier) {
            entry.names = std::move(keys);
            return std::nullopt;
        }
    }
    // Named outside the lock: the name is read back from the run's list of files.
    const bool named = sourceOf_ && *earlier != WrittenOutputs::kFarTicket;
    return EarlierOutput{names[taken - 1], named ? sourceOf_(*earlier) : std::string("an earlier file")};
}

void OutputClaims::leave(std::size_t ticket, const std::vector<std::string>& written) {
    std::lock_guard lock(mutex_);
    for (const std::string& path : written) written_.add(key(path), ticket);
    inFlight_.erase(ticket);
    changed_.notify_all();
}

}  // namespace quillon
