#include "run/drive/output_claims.h"

#include <algorithm>

#include "platform/paths.h"

namespace quillon {

// "out//a.tif" and "out/./a.tif" are one file (and on Windows "OUT\A.TIF").
std::string OutputClaims::key(const std::string& path) { return platform::pathKey(path); }

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

bool OutputClaims::overlapsEarlierInFlight(std::size_t ticket, const std::vector<std::string>& names) const {
    for (const auto& [other, entry] : inFlight_) {
        if (other >= ticket) break;
        for (const std::string& name : names)
            if (std::find(entry.names.begin(), entry.names.end(), name) != entry.names.end()) return true;
    }
    return false;
}

std::optional<EarlierOutput> OutputClaims::claim(std::size_t ticket, const std::vector<std::string>& names) {
    std::vector<std::string> keys;
    for (const std::string& name : names) keys.push_back(key(name));
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return earlierDecided(ticket) && !overlapsEarlierInFlight(ticket, keys); });
    Entry& entry = inFlight_[ticket];
    entry.claimed = true;
    changed_.notify_all();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (const auto found = written_.find(keys[i]); found != written_.end())
            return EarlierOutput{names[i], found->second};
    }
    entry.names = std::move(keys);
    return std::nullopt;
}

void OutputClaims::leave(std::size_t ticket, const std::vector<std::string>& written, const std::string& source) {
    std::lock_guard lock(mutex_);
    for (const std::string& path : written) written_.emplace(key(path), source);
    inFlight_.erase(ticket);
    changed_.notify_all();
}

}  // namespace quillon
