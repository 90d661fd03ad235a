#include "platform/atomic_file.h"

#include "platform/files.h"
#include "platform/private_temp_folder.h"

namespace quillon::platform {

AtomicFile::AtomicFile(std::string finalPath)
    : finalPath_(std::move(finalPath)), tempPath_(siblingTempName(finalPath_)) {
    if (!tempPath_.empty() && !removeOnTerminationToo(tempPath_)) tempPath_.clear();
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : finalPath_(std::move(other.finalPath_)), tempPath_(std::move(other.tempPath_)), committed_(other.committed_) {
    other.tempPath_.clear();
}

AtomicFile::~AtomicFile() {
    if (tempPath_.empty()) return;
    if (!committed_) removeFile(tempPath_);
    keepOnTermination(tempPath_);
}

bool AtomicFile::commit(bool syncFirst) {
    committed_ = !tempPath_.empty() && putInPlace(tempPath_, finalPath_, syncFirst);
    return committed_;
}

}  // namespace quillon::platform
