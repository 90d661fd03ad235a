#pragma once
// Where a writer puts a file's bytes, in order: the program's output file
// takes its checksum from them as they pass (run/convert/output_file.h).
// The TIFF and the PDF writer both write into one. (Kept free of C++20: the
// PDF writer's file builds as C++17 under clang.)

#include <cstddef>

namespace quillon {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when the bytes could not be written.
    virtual bool write(const unsigned char* data, std::size_t size) = 0;
};

}  // namespace quillon
