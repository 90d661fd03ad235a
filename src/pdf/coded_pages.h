#pragma once
// What the PDF writer reads: Group 4 pages, each one stream coded most
// significant bit first, with the size and resolution its PDF page takes.
// (Kept free of C++20: the writer's file builds as C++17 under clang.)

#include <cstdint>
#include <vector>

namespace quillon {

struct G4Page {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    double xDpi = 0;
    double yDpi = 0;
};

class CodedPages {
public:
    virtual ~CodedPages() = default;
    virtual const std::vector<G4Page>& pages() const = 0;
    // Page `index`'s coded data; false when they cannot be read.
    virtual bool readCodedData(std::size_t index, std::vector<std::uint8_t>& data) = 0;
};

}  // namespace quillon
