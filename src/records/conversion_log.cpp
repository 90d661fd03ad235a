#include "records/conversion_log.h"

#include <cstdio>

#include "platform/files.h"
#include "platform/local_time.h"
#include "platform/paths.h"

namespace quillon {

LogResult writeLog(const std::string& logPath, const std::string& text) {
    if (logPath.empty()) return LogResult::NoLog;
    const std::string::size_type slash = platform::lastPathSeparator(logPath);
    if (slash != std::string::npos && slash > 0) {
        const std::string folder = logPath.substr(0, slash);
        if (!platform::folderExists(folder) && !platform::makeFolder(folder)) return LogResult::FolderMissing;
    }
    std::FILE* file = platform::openFile(logPath, "ab");
    if (!file) return LogResult::CannotOpen;
    // The results text's lines end in CR LF already; the date and separator
    // lines in the system's line end.
    const std::string entry = platform::formatLocalTime("%Y-%m-%d %H:%M:%S") + platform::kTextLineEnd + text +
                              "--------------------------------------------------" + platform::kTextLineEnd;
    const bool written = std::fwrite(entry.data(), 1, entry.size(), file) == entry.size();
    return std::fclose(file) == 0 && written ? LogResult::Written : LogResult::CannotOpen;
}

}  // namespace quillon
