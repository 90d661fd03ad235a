#include "platform/source_file.h"

#include <algorithm>
#include <new>

#include "platform/whole_file.h"

namespace quillon::platform {

namespace {

// Growth in steps of at least this much, for files whose size is not known.
constexpr std::size_t kSmallestStep = 64 * 1024;

// Gives the buffer's memory back, not only its size.
WholeFileEnd released(std::vector<std::uint8_t>& bytes, WholeFileEnd end) {
    std::vector<std::uint8_t>().swap(bytes);
    return end;
}

}  // namespace

const char* const kTooLargeReason = "larger than the 1 GiB a source may hold";

std::optional<std::span<const std::uint8_t>> SourceFile::contents() const {
    if (kind_ != PathKind::File || !error_.empty()) return std::nullopt;
    return std::span<const std::uint8_t>(bytes_);
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
