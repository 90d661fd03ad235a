#include "app/file_conversion.h"

#include "engine/format_detection.h"
#include "platform/file_times.h"
#include "platform/files.h"

namespace quillon {

int convertFile(BatchJob& job, const std::string& source, const std::string& destination) {
    const FaxFormat format = detectFormat(source);
    if (format == kFormatTiff) return kSourceIsTiff;
    if (format != kFormatWinFax) return kNotWinFax;
    job.results += source + " --> " + destination + " : ";
    job.results += "Failed : " + source + " - Error Fax\r\n";
    return kEngineFailed;
}

bool makeFolderPath(const std::string& folder) {
    if (platform::folderExists(folder)) return true;
    const std::string::size_type slash = folder.rfind('/');
    if (slash != std::string::npos && slash > 0) makeFolderPath(folder.substr(0, slash));
    return platform::makeFolder(folder) || platform::folderExists(folder);
}

int copyFileTimes(const std::string& from, const std::string& to) {
    platform::FileTimes times;
    if (!platform::readFileTimes(from, times)) return -1;
    return platform::writeFileTimes(to, times) ? 0 : -2;
}

}  // namespace quillon
