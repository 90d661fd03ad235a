#include "records/conversion_log.h"

#include "platform/files.h"
#include "platform/local_time.h"
#include "platform/paths.h"
#include "platform/stable_storage.h"

namespace quillon {

LogResult writeLog(const std::string& logPath, const std::string& head, const platform::TextSpool* lines,
                   const std::string& tail, platform::FileLocking locking, bool syncToDisk) {
    if (logPath.empty()) return LogResult::NoLog;
    const std::string::size_type slash = platform::lastPathSeparator(logPath);
    if (slash != std::string::npos && slash > 0) {
        const std::string folder = logPath.substr(0, slash);
        // Another run may make it at the same moment.
        if (!platform::makeFolder(folder) && !platform::folderExists(folder)) return LogResult::FolderMissing;
    }
    platform::SharedFile file;
    platform::SharedOpen opened = file.open(logPath, locking);
    // Without locks the entry is still appended, though entries of runs at
    // once may then mix: better than no log at all.
    if (opened == platform::SharedOpen::LocksRefused) opened = file.open(logPath, platform::FileLocking::SingleRun);
    if (opened != platform::SharedOpen::Opened || !file.lock()) return LogResult::CannotOpen;
    const auto write = [&file](std::string_view bytes) { return file.append(bytes); };
    // The results text's lines end in CR LF already; the date and separator
    // lines in the system's line end.
    bool written = write(platform::formatLocalTime("%Y-%m-%d %H:%M:%S") + platform::kTextLineEnd + head);
    written = written && (!lines || lines->copyTo(write));
    written = written && write(tail + "--------------------------------------------------" + platform::kTextLineEnd);
    written = written && (!syncToDisk || file.sync());
    file.unlock();
    // A log made now is only there once its folder's entry is.
    const bool synced = !syncToDisk || platform::syncFolder(platform::folderPart(logPath));
    return file.close() && written && synced ? LogResult::Written : LogResult::CannotOpen;
}

}  // namespace quillon
