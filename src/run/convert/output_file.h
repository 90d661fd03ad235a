#pragma once
// One output as it is written: under a temporary name beside its final one
// until it is complete (platform/atomic_file.h), and with its SHA-256 taken
// from the bytes as they pass, so that no output is read back to learn it.
// Once complete it joins its file's pending outputs, which sync it and
// rename it into place (pending_outputs.h); the folder's entry is synced
// once at the run's end.

#include <cstdio>
#include <string>

#include "engine/sha256.h"
#include "platform/byte_sink.h"
#include "platform/atomic_file.h"
#include "run/convert/pending_outputs.h"

namespace quillon {

class OutputFile final : public ByteSink {
public:
    OutputFile(const std::string& path, PendingOutputs& pending);
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool write(const unsigned char* data, std::size_t size) override;
    bool write(const std::string& bytes);
    // Closes the file; false when any write or the close failed.
    bool finish();
    // The finished file joins the pending outputs, to be put in place with
    // them; until then, the output's name still shows what it showed before.
    bool keep();
    // Lowercase hex of the bytes written.
    const std::string& sha256() const { return sha256_; }

private:
    platform::AtomicFile file_;
    std::string path_;
    PendingOutputs& pending_;
    std::FILE* stream_ = nullptr;
    bool failed_ = false;
    bool finished_ = false;
    Sha256 digest_;
    std::string sha256_;
};

}  // namespace quillon
