#pragma once
// One output as it is written: under a temporary name beside its final one
// until it is complete (platform/atomic_file.h), and with its SHA-256 taken
// from the bytes as they pass, so that no output is read back to learn it.
// Synced before it is renamed into place, so that no power cut leaves an
// empty or partial file under an output's name: the rename is only on disk
// after the bytes are. The folder's entry is synced once at the run's end.

#include <cstdio>
#include <string>

#include "engine/sha256.h"
#include "platform/byte_sink.h"
#include "platform/atomic_file.h"

namespace quillon {

class OutputFile final : public ByteSink {
public:
    OutputFile(const std::string& path, bool syncToDisk);
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool write(const unsigned char* data, std::size_t size) override;
    bool write(const std::string& bytes);
    // Closes the file (synced first); false when any write, the sync or the
    // close failed. Until it
    // is committed, the output's name still shows what it showed before.
    bool finish();
    // Puts the finished file in place under its name.
    bool commit() { return finished_ && !failed_ && file_.commit(); }
    // Lowercase hex of the bytes written.
    const std::string& sha256() const { return sha256_; }

private:
    platform::AtomicFile file_;
    std::FILE* stream_ = nullptr;
    bool syncToDisk_;
    bool failed_ = false;
    bool finished_ = false;
    Sha256 digest_;
    std::string sha256_;
};

}  // namespace quillon
