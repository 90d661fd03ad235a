#include "records/conversion_log.h"

#include "platform/files.h"
#include "platform/local_time.h"
#include "platform/paths.h"
#include "platform/stable_storage.h"

namespace quillon {

LogResult writeLog(const std::string& logPath, const std::string& text, platform::FileLocking locking, bool syncToDisk) {
    if (logPath.empty()) return LogResult::NoLog;
    const std::string::size_type slash = platform::lastPathSeparator(logPath);
    if (slash != std::string::npos && slash > 0) {
        const std::string folder = logPath.substr(0, slash);
        // Another run may make it at the same moment.
        if (!platform::makeFolder(folder) && !platform::folderExists(folder)) return LogResult::FolderMissing;
    }
    platform::SharedFile file;
    platform::SharedOpen opened = file.open(logPath, locking);
    // Without locks the entry still goes in one write at the end, which a
    // local disk never mixes with another's: better than no log at all.
    if (opened == platform::SharedOpen::LocksRefused) opened = file.open(logPath, platform::FileLocking::SingleRun);
    if (opened != platform::SharedOpen::Opened) return LogResult::CannotOpen;
    // The results text's lines end in CR LF already; the date and separator
    // lines in the system's line end.
    const std::string entry = platform::formatLocalTime("%Y-%m-%d %H:%M:%S") + platform::kTextLineEnd + text +
                              "--------------------------------------------------" + platform::kTextLineEnd;
    if (!file.lock()) return LogResult::CannotOpen;
    const bool written = file.append(entry) && (!syncToDisk || file.sync());
    file.unlock();
    // A log made now is only there once its folder's entry is.
    const bool synced = !syncToDisk || platform::syncFolder(platform::folderPart(logPath));
    return file.close() && written && synced ? LogResult::Written : LogResult::CannotOpen;
}

}  // namespace quillon
