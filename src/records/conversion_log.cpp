#include "records/conversion_log.h"

#include <cstdio>

#include "platform/files.h"
#include "platform/local_time.h"
#include "platform/paths.h"

namespace quillon {

LogResult writeLog(const std::string& logPath, const std::string& head, const platform::TextSpool* lines,
                   const std::string& tail) {
    if (logPath.empty()) return LogResult::NoLog;
    const std::string::size_type slash = platform::lastPathSeparator(logPath);
    if (slash != std::string::npos && slash > 0) {
        const std::string folder = logPath.substr(0, slash);
        if (!platform::folderExists(folder) && !platform::makeFolder(folder)) return LogResult::FolderMissing;
    }
    std::FILE* file = platform::openFile(logPath, "ab");
    if (!file) return LogResult::CannotOpen;
    const auto write = [file](std::string_view bytes) { return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(); };
    // The results text's lines end in CR LF already; the date and separator
    // lines in the system's line end.
    bool written = write(platform::formatLocalTime("%Y-%m-%d %H:%M:%S") + platform::kTextLineEnd + head);
    written = written && (!lines || lines->copyTo(write));
    written = written && write(tail + "--------------------------------------------------" + platform::kTextLineEnd);
    return std::fclose(file) == 0 && written ? LogResult::Written : LogResult::CannotOpen;
}

}  // namespace quillon
