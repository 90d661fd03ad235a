#pragma once
// What both systems' SourceFile share (source_file.h): reading an open file
// to its end, whatever size the system gave for it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillon::platform {

enum class WholeFileEnd {
    Read,      // to the end of the file
    Failed,    // a read failed: the system's reason is the caller's
    TooLarge,  // more than the most bytes asked for
    NoMemory,  // the bytes could not be held
};

// Bytes read into `into`, at most size of them; 0 at the end of the file,
// below 0 when the read failed.
using ReadSome = std::function<std::int64_t(std::uint8_t* into, std::size_t size)>;

// Reads the whole file through readSome into bytes, refusing more than
// `most`. expectedSize, the size the system gives, only sizes the first
// buffer: files of /proc give 0 and hold more, others may grow meanwhile.
WholeFileEnd readWholeFile(std::uint64_t expectedSize, std::uint64_t most, const ReadSome& readSome,
                           std::vector<std::uint8_t>& bytes);

// The reason given for a file of more than SourceFile::kMostBytes.
extern const char* const kTooLargeReason;

}  // namespace quillon::platform
