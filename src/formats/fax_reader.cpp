#include "formats/fax_reader.h"

#include <algorithm>

namespace quillon {

bool FaxReader::openBytes(SourceBytes bytes) {
    closeBytes();
    if (!bytes) return false;
    bytes_ = std::move(bytes);
    open_ = true;
    return true;
}

void FaxReader::closeBytes() {
    bytes_ = {};
    open_ = false;
}

bool FaxReader::addPagePosition(std::uint32_t position) {
    if (pageCount_ >= kMaxPages) return false;
    pagePositions_[pageCount_++] = position;
    return true;
}

std::uint32_t FaxReader::pagePosition(std::uint16_t index) const {
    return index < pageCount_ ? pagePositions_[index] : 0;
}

std::size_t FaxReader::readAt(std::int64_t position, std::uint8_t* into, std::size_t size) const {
    if (!open_ || position < 0) return 0;
    return bytes_.readAt(std::uint64_t(position), into, size);
}

void FaxReader::loadPageData(std::int64_t position, std::size_t size) {
    // A fresh buffer, so that a large page before does not stay allocated.
    std::vector<std::uint8_t>(size).swap(pageData_);
    pageData_.resize(readAt(position, pageData_.data(), size));
}

}  // namespace quillon
