#include "app/work_paths.h"

namespace quillon {

WorkPaths formWorkPaths(const std::string& homeFolder) {
    return {homeFolder + "/log/kfqlog.txt", homeFolder + "/quillon.ini"};
}

ConvertOptions startupConvertOptions() { return ConvertOptions{}; }

}  // namespace quillon
