#include "pdf/g4_page_spool.h"

#include <utility>

#include "platform/files.h"

namespace quillon {

G4PageSpool::G4PageSpool(std::string spillPath) : spillPath_(std::move(spillPath)) {}

G4PageSpool::~G4PageSpool() {
    if (!spillFile_.is_open()) return;
    spillFile_.close();
    platform::removeFile(spillPath_);
}

bool G4PageSpool::beginPage(const G4PageFields& fields) {
    failed_ = failed_ || !fields.msbFirst || !(fields.xResolution > 0) || !(fields.yResolution > 0);
    if (failed_) return false;
    open_ = G4Page{fields.width, 0, fields.xResolution, fields.yResolution};
    // Once pages spill, every later page goes to the file as well.
    const bool spilled = spillFile_.is_open();
    places_.push_back(Place{spilled, spilled ? spilledBytes_ : memory_.size(), 0});
    return true;
}

bool G4PageSpool::writeStrip(std::span<const std::uint8_t> strip) {
    if (failed_ || places_.size() == pages_.size()) return false;
    Place& place = places_.back();
    if (!place.spilled && memory_.size() + strip.size() > kMemoryBytes) {
        // The page moves to the file whole: a page's data lie in one place.
        const std::uint64_t offset = spilledBytes_;
        if (!spill(memory_.data() + place.offset, place.size)) return false;
        memory_.resize(place.offset);
        place = Place{true, offset, place.size};
    }
    if (place.spilled) {
        if (!spill(strip.data(), strip.size())) return false;
    } else {
        if (memory_.capacity() == 0) memory_.reserve(kMemoryBytes);
        memory_.insert(memory_.end(), strip.begin(), strip.end());
    }
    place.size += strip.size();
    return true;
}

bool G4PageSpool::endPage(std::uint32_t rows) {
    if (failed_ || places_.size() == pages_.size()) return false;
    open_.rows = rows;
    pages_.push_back(open_);
    return true;
}

bool G4PageSpool::spill(const std::uint8_t* bytes, std::size_t size) {
    if (!spillFile_.is_open())
        spillFile_.open(spillPath_, std::ios::in | std::ios::out | std::ios::trunc | std::ios::binary);
    spillFile_.seekp(std::streamoff(spilledBytes_));
    failed_ = !spillFile_.write(reinterpret_cast<const char*>(bytes), std::streamsize(size));
    spilledBytes_ += size;
    return !failed_;
}

bool G4PageSpool::readCodedData(std::size_t index, std::vector<std::uint8_t>& data) {
    if (failed_ || index >= pages_.size()) return false;
    const Place& place = places_[index];
    if (!place.spilled) {
        const auto begin = memory_.begin() + std::ptrdiff_t(place.offset);
        data.assign(begin, begin + std::ptrdiff_t(place.size));
        return true;
    }
    data.resize(place.size);
    spillFile_.seekg(std::streamoff(place.offset));
    return bool(spillFile_.read(reinterpret_cast<char*>(data.data()), std::streamsize(data.size())));
}

}  // namespace quillon
