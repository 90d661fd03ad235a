#include "gui/source_selection.h"

namespace quillon {

namespace {

SourceSelection singlePath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"", {path}};
    return {path.substr(0, slash), {path.substr(slash + 1)}};
}

}  // namespace

SourceSelection filesModeSelection(const std::string& sourceText) {
    const std::size_t blank = sourceText.find(' ');
    if (blank == std::string::npos || blank == 0) return singlePath(sourceText);
    SourceSelection selection{sourceText.substr(0, blank), {}};
    const std::string rest = sourceText.substr(blank + 1) + " ";
    std::size_t start = 0;
    for (std::size_t end = rest.find(' ', start); end != std::string::npos && end > start;
         end = rest.find(' ', start)) {
        selection.names.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return selection;
}

std::string sourceFolderOf(const std::string& sourceText, bool filesMode) {
    return filesMode ? filesModeSelection(sourceText).folder : sourceText;
}

std::string sourceTextForFiles(const std::vector<std::string>& paths) {
    if (paths.size() == 1) return paths.front();
    std::string text;
    for (const std::string& path : paths) {
        const SourceSelection parts = singlePath(path);
        if (text.empty()) text = parts.folder;
        text += " " + parts.names.front();
    }
    return text;
}

std::optional<OpenedSource> sourceForPaths(const std::vector<std::string>& paths,
                                           const std::function<PathKind(const std::string&)>& kindOf) {
    std::vector<std::string> files;
    std::string folder;
    for (const std::string& path : paths) {
        if (path.find(' ') != std::string::npos) continue;
        const PathKind kind = kindOf(path);
        if (files.empty() && kind == PathKind::folder) return OpenedSource{path, false};
        if (kind != PathKind::file) continue;
        const SourceSelection parts = singlePath(path);
        if (files.empty()) folder = parts.folder;
        if (parts.folder == folder) files.push_back(path);
    }
    if (files.empty()) return std::nullopt;
    return OpenedSource{sourceTextForFiles(files), true};
}

}  // namespace quillon
