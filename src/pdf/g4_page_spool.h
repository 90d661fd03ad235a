#pragma once
// The Group 4 pages of one PDF as the page pipeline codes them (one strip per
// page, most significant bit first), kept until the PDF writer asks for each
// page's data. The first pages stay in memory; once they hold kMemoryBytes,
// the rest goes to a file, so that a fax of a thousand pages costs no more
// memory than a short one.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "pdf/coded_pages.h"
#include "codec/g4_page_output.h"

namespace quillon {

class G4PageSpool final : public G4PageOutput, public CodedPages {
public:
    static constexpr std::size_t kMemoryBytes = 4 << 20;

    // spillPath: the file for pages beyond kMemoryBytes, made only when
    // needed and removed with the spool.
    explicit G4PageSpool(std::string spillPath);
    ~G4PageSpool() override;
    G4PageSpool(const G4PageSpool&) = delete;
    G4PageSpool& operator=(const G4PageSpool&) = delete;

    // Refuses pages that are not MSB first or have no resolution.
    bool beginPage(const G4PageFields& fields) override;
    bool writeStrip(std::span<const std::uint8_t> strip) override;
    bool endPage(std::uint32_t rows) override;

    // The pages ended so far.
    const std::vector<G4Page>& pages() const override { return pages_; }
    bool readCodedData(std::size_t index, std::vector<std::uint8_t>& data) override;

private:
    struct Place {
        bool spilled = false;
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
    };
    bool spill(const std::uint8_t* bytes, std::size_t size);

    std::string spillPath_;
    std::fstream spillFile_;
    std::uint64_t spilledBytes_ = 0;
    std::vector<std::uint8_t> memory_;
    std::vector<G4Page> pages_;
    std::vector<Place> places_;  // of the ended pages and, last, the open one
    G4Page open_;
    bool failed_ = false;
};

}  // namespace quillon
