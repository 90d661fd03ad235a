#include "app/pending_output.h"

#include "platform/files.h"
#include "platform/private_temp_folder.h"

namespace quillon {

PendingOutput::PendingOutput(std::string finalPath)
    : finalPath_(std::move(finalPath)), tempPath_(platform::siblingTempName(finalPath_)) {
    if (!tempPath_.empty()) platform::removeOnTerminationToo(tempPath_);
}

PendingOutput::~PendingOutput() {
    if (tempPath_.empty()) return;
    if (!committed_) platform::removeFile(tempPath_);
    platform::keepOnTermination(tempPath_);
}

bool PendingOutput::commit() {
    committed_ = !tempPath_.empty() && platform::renameFile(tempPath_, finalPath_);
    return committed_;
}

}  // namespace quillon
