#include "engine/page_fingerprint.h"

#include <nettle/sha2.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "codec/run_painter.h"
#include "platform/files.h"

namespace quillon {

namespace {

std::string hexOf(const unsigned char* bytes, unsigned size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

}  // namespace

struct PageFingerprint::Digest {
    sha256_ctx context;
    Digest() { sha256_init(&context); }
    void update(const void* data, std::size_t size) {
        sha256_update(&context, size, static_cast<const std::uint8_t*>(data));
    }
    std::string finish() {
        std::uint8_t value[SHA256_DIGEST_SIZE];
        sha256_digest(&context, sizeof value, value);
        return hexOf(value, sizeof value);
    }
};

PageFingerprint::PageFingerprint(std::uint32_t width)
    : digest_(std::make_unique<Digest>()), width_(width), row_((std::size_t(width) + 7) / 8) {}

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

std::string PageFingerprint::hex() { return digest_->finish(); }

std::string sha256Hex(std::span<const std::uint8_t> bytes) {
    PageFingerprint::Digest digest;
    if (!bytes.empty()) digest.update(bytes.data(), bytes.size());
    return digest.finish();
}

std::string fileSha256(const std::string& path) {
    std::FILE* file = platform::openFile(path, "rb");
    if (!file) return {};
    PageFingerprint::Digest digest;
    unsigned char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) digest.update(buffer, got);
    const bool read = !std::ferror(file);
    std::fclose(file);
    return read ? digest.finish() : std::string();
}

}  // namespace quillon
