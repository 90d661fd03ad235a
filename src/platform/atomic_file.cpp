#include "platform/atomic_file.h"

#include "platform/files.h"
#include "platform/private_temp_folder.h"

namespace quillon::platform {

AtomicFile::AtomicFile(std::string finalPath)
    : finalPath_(std::move(finalPath)), tempPath_(siblingTempName(finalPath_)) {
    if (!tempPath_.empty() && !removeOnTerminationToo(tempPath_)) tempPath_.clear();
}

AtomicFile::~AtomicFile() {
    if (tempPath_.empty()) return;
    if (!committed_) removeFile(tempPath_);
    keepOnTermination(tempPath_);
}

bool AtomicFile::commit() {
    committed_ = !tempPath_.empty() && renameFile(tempPath_, finalPath_);
    return committed_;
}

}  // namespace quillon::platform
