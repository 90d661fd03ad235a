#include "gui/help.h"

namespace quillon {

std::optional<std::string> helpDocument(const std::string& programPath,
                                        const std::function<bool(const std::string&)>& exists) {
    if (programPath.empty()) return std::nullopt;
    const std::size_t slash = programPath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // Only a dot in the file name starts the extension, not one in a folder name.
    const std::size_t dot = programPath.rfind('.');
    const std::string stem = dot != std::string::npos && dot > nameStart ? programPath.substr(0, dot) : programPath;
    const std::string chm = stem + ".chm";
    if (exists(chm)) return chm;
    const std::string manual = programPath.substr(0, nameStart) + kInstalledManual;
    if (exists(manual)) return manual;
    return std::nullopt;
}

}  // namespace quillon
