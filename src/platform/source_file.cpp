#include "platform/source_file.h"

#include <algorithm>
#include <new>

#include "platform/whole_file.h"

namespace quillon::platform {

namespace {

// Growth in steps of at least this much, for files whose size is not known.
constexpr std::size_t kSmallestStep = 64 * 1024;
// What a pass over a file too large to hold reads at once.
constexpr std::size_t kPassChunkBytes = 1 << 20;

// Gives the buffer's memory back, not only its size.
WholeFileEnd released(std::vector<std::uint8_t>& bytes, WholeFileEnd end) {
    std::vector<std::uint8_t>().swap(bytes);
    return end;
}

}  // namespace

const char* const kTooLargeReason = "larger than the 1 GiB a source may hold";

SourceBytes SourceFile::contents() const {
    if (kind_ != PathKind::File || !error_.empty()) return std::nullopt;
    if (held_) return std::span<const std::uint8_t>(bytes_);
    return SourceBytes(size_, [this](std::uint64_t position, std::uint8_t* into, std::size_t size) {
        return readKept(position, into, size);
    });
}

void SourceFile::take(std::uint64_t expectedSize, const ReadSome& readSome, const ByteWatcher& watcher) {
    if (expectedSize > kMostBytes) {
        error_ = reasonOf(WholeFileEnd::TooLarge);
        return;
    }
    const auto keepHead = [this](std::span<const std::uint8_t> bytes) {
        const std::size_t count = std::min(bytes.size(), head_.size() - headSize_);
        std::copy_n(bytes.begin(), count, head_.begin() + std::ptrdiff_t(headSize_));
        headSize_ += count;
    };
    if (expectedSize <= kMostHeldBytes) {
        error_ = reasonOf(readWholeFile(expectedSize, kMostBytes, readSome, bytes_));
        if (!error_.empty()) return;
        size_ = bytes_.size();
        keepHead(bytes_);
        if (watcher) watcher(bytes_);
        return;
    }
    held_ = false;
    std::vector<std::uint8_t> chunk(kPassChunkBytes);
    for (;;) {
        const std::int64_t got = readSome(chunk.data(), chunk.size());
        if (got < 0) {
            error_ = reasonOf(WholeFileEnd::Failed);
            return;
        }
        if (got == 0) return;
        size_ += std::uint64_t(got);
        if (size_ > kMostBytes) {
            error_ = reasonOf(WholeFileEnd::TooLarge);
            return;
        }
        const std::span<const std::uint8_t> read(chunk.data(), std::size_t(got));
        keepHead(read);
        if (watcher) watcher(read);
    }
}

WholeFileEnd readWholeFile(std::uint64_t expectedSize, std::uint64_t most, const ReadSome& readSome,
                           std::vector<std::uint8_t>& bytes) {
    if (expectedSize > most) return released(bytes, WholeFileEnd::TooLarge);
    try {
        // One byte more than expected: a file that holds what it claims is
        // seen to end without growing the buffer.
        bytes.resize(std::size_t(expectedSize) + 1);
        std::size_t filled = 0;
        for (;;) {
            if (filled == bytes.size()) {
                if (filled > most) break;
                bytes.resize(std::size_t(std::min<std::uint64_t>(most + 1, filled + std::max(filled, kSmallestStep))));
            }
            const std::int64_t got = readSome(bytes.data() + filled, bytes.size() - filled);
            if (got < 0) return released(bytes, WholeFileEnd::Failed);
            if (got == 0) break;
            filled += std::size_t(got);
        }
        if (filled > most) return released(bytes, WholeFileEnd::TooLarge);
        bytes.resize(filled);
    } catch (const std::bad_alloc&) {
        return released(bytes, WholeFileEnd::NoMemory);
    }
    return WholeFileEnd::Read;
}

}  // namespace quillon::platform
