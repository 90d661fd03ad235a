#include "platform/text_spool.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/files.h"
#include "platform/private_temp_folder.h"

namespace quillon::platform {

namespace {

constexpr std::size_t kPiece = std::size_t(1) << 16;

// The private folder is the process's own, so names need only differ
// between the process's spools.
std::string newSpoolPath() {
    static std::atomic<unsigned long long> made{0};
    const std::string& folder = privateTempFolder();
    return folder.empty() ? std::string() : folder + "spool-" + std::to_string(made++);
}

}  // namespace

TextSpool::TextSpool() : path_(newSpoolPath()) {
    if (!path_.empty()) file_ = openFile(path_, "w+b");
    if (file_) std::setvbuf(file_, nullptr, _IOFBF, kPiece);
}

TextSpool::~TextSpool() {
    if (!file_) return;
    std::fclose(file_);
    removeFile(path_);
}

bool TextSpool::append(std::string_view bytes) {
    std::lock_guard lock(turn_);
    if (failed_) return false;
    if (!file_) {
        memory_.append(bytes);
    } else {
        if (readSinceWrite_ && !seekFile(file_, size_)) failed_ = true;
        readSinceWrite_ = false;
        if (!failed_ && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
    }
    if (!failed_) size_ += bytes.size();
    return !failed_;
}

bool TextSpool::failed() const {
    std::lock_guard lock(turn_);
    return failed_;
}

std::uint64_t TextSpool::size() const {
    std::lock_guard lock(turn_);
    return size_;
}

std::size_t TextSpool::read(std::uint64_t offset, char* into, std::size_t size) const {
    std::lock_guard lock(turn_);
    if (offset >= size_) return 0;
    size = std::size_t(std::min<std::uint64_t>(size, size_ - offset));
    if (!file_) {
        std::copy_n(memory_.data() + offset, size, into);
        return size;
    }
    // Seeking also hands the stream's buffered writes to the file.
    readSinceWrite_ = true;
    if (!seekFile(file_, offset)) return 0;
    return std::fread(into, 1, size, file_);
}

bool TextSpool::copyTo(const std::function<bool(std::string_view piece)>& take) const {
    std::vector<char> piece(kPiece);
    const std::uint64_t end = size();
    for (std::uint64_t at = 0; at < end;) {
        const std::size_t got = read(at, piece.data(), piece.size());
        if (got == 0 || !take(std::string_view(piece.data(), got))) return false;
        at += got;
    }
    return true;
}

}  // namespace quillon::platform
