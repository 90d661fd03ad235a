#pragma once
// A source's bytes as its reader reads them: held in memory (a fax of usual
// size, read once), or read at a position through the source's open handle
// (a large one, so that memory stays flat whatever its size), or none (a
// source that is no regular file).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace quillon::platform {

class SourceBytes {
public:
    // Up to size bytes at position into `into`; how many were copied (fewer
    // at the end, none after a read error).
    using ReadAt = std::function<std::size_t(std::uint64_t position, std::uint8_t* into, std::size_t size)>;

    SourceBytes() = default;  // none
    SourceBytes(std::nullopt_t) {}
    SourceBytes(std::span<const std::uint8_t> held) : present_(true), size_(held.size()), held_(held) {}
    SourceBytes(std::optional<std::span<const std::uint8_t>> held) : SourceBytes() {
        if (held) *this = SourceBytes(*held);
    }
    SourceBytes(std::uint64_t size, ReadAt readAt) : present_(true), size_(size), readAt_(std::move(readAt)) {}

    explicit operator bool() const { return present_; }
    std::uint64_t size() const { return size_; }
    // The bytes themselves, when they are held.
    std::optional<std::span<const std::uint8_t>> held() const {
        if (!present_ || readAt_) return std::nullopt;
        return held_;
    }
    std::size_t readAt(std::uint64_t position, std::uint8_t* into, std::size_t size) const {
        if (!present_ || position >= size_) return 0;
        const std::size_t count = std::size_t(std::min<std::uint64_t>(size, size_ - position));
        if (readAt_) return readAt_(position, into, count);
        std::copy_n(held_.begin() + std::ptrdiff_t(position), count, into);
        return count;
    }

private:
    bool present_ = false;
    std::uint64_t size_ = 0;
    std::span<const std::uint8_t> held_;
    ReadAt readAt_;
};

}  // namespace quillon::platform
