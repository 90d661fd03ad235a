#include "run/convert/output_file.h"

#include "platform/files.h"

namespace quillon {

OutputFile::OutputFile(const std::string& path, PendingOutputs& pending)
    : file_(path), path_(path), pending_(pending) {
    if (!file_.path().empty()) stream_ = platform::openFile(file_.path(), "r+b");
    failed_ = stream_ == nullptr;
}

OutputFile::~OutputFile() {
    if (stream_) std::fclose(stream_);
}

bool OutputFile::write(const unsigned char* data, std::size_t size) {
    if (failed_ || finished_) return false;
    digest_.update(data, size);
    failed_ = std::fwrite(data, 1, size, stream_) != size;
    return !failed_;
}

bool OutputFile::write(const std::string& bytes) {
    return write(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

bool OutputFile::finish() {
    if (finished_) return !failed_;
    finished_ = true;
    if (stream_) failed_ = (std::fclose(stream_) != 0) || failed_;
    stream_ = nullptr;
    sha256_ = digest_.hex();
    return !failed_;
}

bool OutputFile::keep() {
    if (!finished_ || failed_) return false;
    pending_.add(std::move(file_), path_);
    return true;
}

}  // namespace quillon
