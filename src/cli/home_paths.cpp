#include "cli/home_paths.h"

namespace quillon {

HomePaths formHomePaths(const std::string& homeFolder) {
    return {homeFolder + "/log/kfqlog.txt", homeFolder + "/quillon.ini"};
}

}  // namespace quillon
