#pragma once
// One file's place among the outputs of its run (see OutputClaims): taken when
// the file's conversion starts, left with what it wrote however it ends.

#include <optional>
#include <string>
#include <vector>

#include "run/drive/output_claims.h"

namespace quillon {

class FileClaim {
public:
    FileClaim(OutputClaims& outputs, std::size_t ticket, const std::vector<std::string>& written)
        : outputs_(outputs), ticket_(ticket), written_(written) {}
    ~FileClaim() { outputs_.leave(ticket_, written_); }
    FileClaim(const FileClaim&) = delete;
    FileClaim& operator=(const FileClaim&) = delete;

    // The first of the names that an earlier file of the run wrote, and that
    // file; nothing when none did, and the names are then the file's.
    std::optional<EarlierOutput> claim(const std::vector<std::string>& names) { return outputs_.claim(ticket_, names); }

private:
    OutputClaims& outputs_;
    std::size_t ticket_;
    const std::vector<std::string>& written_;
};

}  // namespace quillon
