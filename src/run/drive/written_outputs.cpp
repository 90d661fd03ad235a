#include "run/drive/written_outputs.h"

#include <algorithm>

namespace quillon {

void WrittenOutputs::expect(std::size_t outputs) {
    keys_.reserve(outputs);
    tickets_.reserve(outputs);
    pending_.reserve(kPending);
}

void WrittenOutputs::add(std::uint64_t key, std::size_t ticket) {
    pending_.push_back({key, std::min<std::size_t>(ticket, kFarTicket)});
    if (pending_.size() >= kPending) mergePending();
}

// From the back, into room made at the end: no second copy of the outputs.
void WrittenOutputs::mergePending() {
    std::sort(pending_.begin(), pending_.end());
    std::size_t kept = keys_.size();
    std::size_t added = pending_.size();
    keys_.resize(kept + added);
    tickets_.resize(kept + added);
    for (std::size_t to = kept + added; added > 0;) {
        --to;
        if (kept > 0 && pending_[added - 1].key < keys_[kept - 1]) {
            --kept;
            keys_[to] = keys_[kept];
            tickets_[to] = tickets_[kept];
        } else {
            --added;
            keys_[to] = pending_[added].key;
            tickets_[to] = std::uint32_t(pending_[added].ticket);
        }
    }
    pending_.clear();
}

std::optional<std::size_t> WrittenOutputs::writer(std::uint64_t key) const {
    for (const Output& output : pending_)
        if (output.key == key) return output.ticket;
    const auto found = std::lower_bound(keys_.begin(), keys_.end(), key);
    if (found != keys_.end() && *found == key) return tickets_[std::size_t(found - keys_.begin())];
    return std::nullopt;
}

}  // namespace quillon
