#include "app/work_paths.h"

#include "platform/files.h"

namespace quillon {

WorkPaths formWorkPaths(const std::string& programFolder, const std::string& tempFolder) {
    WorkPaths paths;
    paths.programFolder = programFolder;
    paths.bitmapWorkFile = programFolder + "/kfqtmp.tmp";
    paths.segmentIndexWorkFile = programFolder + "/kfqseg.tmp";
    paths.logFile = programFolder + "/log/kfqlog.txt";
    paths.iniFile = programFolder + "/quillon.ini";
    paths.tempFolder = tempFolder;
    paths.intermediateTiffPath = tempFolder + "tmptif";
    return paths;
}

ConvertOptions startupConvertOptions(const WorkPaths& paths) {
    ConvertOptions options;  // the defaults of its fields are the start-up values
    options.bitmapWorkFile = paths.bitmapWorkFile;
    options.segmentIndexWorkFile = paths.segmentIndexWorkFile;
    options.intermediateTiffPath = paths.intermediateTiffPath;
    return options;
}

void deleteWorkFiles(const WorkPaths& paths) {
    platform::removeFile(paths.bitmapWorkFile);
    platform::removeFile(paths.segmentIndexWorkFile);
    platform::removeFile(paths.intermediateTiffPath);
}

}  // namespace quillon
