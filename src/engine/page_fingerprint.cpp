#include "engine/page_fingerprint.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "codec/run_painter.h"
#include "platform/files.h"

namespace quillon {

PageFingerprint::PageFingerprint(std::uint32_t width)
    : digest_(std::make_unique<Sha256>()), width_(width), row_((std::size_t(width) + 7) / 8) {}

PageFingerprint::~PageFingerprint() = default;

void PageFingerprint::line(const std::uint32_t* runs, std::uint32_t count) {
    std::fill(row_.begin(), row_.end(), 0);
    std::uint64_t at = 0;
    for (std::uint32_t i = 0; i < count && at < width_; ++i) {
        const std::uint64_t end = std::min<std::uint64_t>(at + runs[i], width_);
        if ((i & 1) && end > at) setPixels(row_.data(), std::uint32_t(at), std::uint32_t(end), std::uint32_t(row_.size()));
        at += runs[i];
    }
    digest_->update(row_.data(), row_.size());
}

void PageFingerprint::whiteRow() {
    std::fill(row_.begin(), row_.end(), 0);
    digest_->update(row_.data(), row_.size());
}

void PageFingerprint::packedRow(const std::uint8_t* row) { digest_->update(row, row_.size()); }

std::string PageFingerprint::hex() { return digest_->hex(); }

std::string fileSha256(const std::string& path) {
    std::FILE* file = platform::openFile(path, "rb");
    if (!file) return {};
    Sha256 digest;
    unsigned char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) digest.update(buffer, got);
    const bool read = !std::ferror(file);
    std::fclose(file);
    return read ? digest.hex() : std::string();
}

}  // namespace quillon
