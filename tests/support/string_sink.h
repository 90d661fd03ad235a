#pragma once
// A file's bytes as a writer (TIFF or PDF) hands them out, kept in a string.

#include <cstddef>
#include <string>

#include "platform/byte_sink.h"

namespace quillon::test {

struct StringSink final : ByteSink {
    std::string text;
    bool write(const unsigned char* data, std::size_t size) override {
        text.append(reinterpret_cast<const char*>(data), size);
        return true;
    }
};

}  // namespace quillon::test
