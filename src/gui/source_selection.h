#pragma once
// The Source box names what a run converts. In folder mode it holds a folder.
// In files mode it holds the full path of one file, or a folder followed by
// the bare names of several of its files, each after one blank:
//   /home/fax a.fxd b.fxd

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

struct SourceSelection {
    std::string folder;              // the source folder; empty when none can be told
    std::vector<std::string> names;  // files mode: the names below the folder
};

// Files mode: the folder is the text before the first blank and the names
// follow it, one per blank; two blanks in a row end the list. Without a blank
// (or with one at the very start) the text is one full path.
SourceSelection filesModeSelection(const std::string& sourceText);

// The source folder of a run: the text itself in folder mode.
std::string sourceFolderOf(const std::string& sourceText, bool filesMode);

// The Source text for files picked in one folder: one file gives its full
// path; several give their folder followed by their bare names.
std::string sourceTextForFiles(const std::vector<std::string>& paths);

enum class PathKind { missing, file, folder };

struct OpenedSource {
    std::string text;  // for the Source box
    bool filesMode;
};

// The source for full paths given by the desktop (program arguments or a
// drop). The first path that exists decides: a folder is the source in folder
// mode; a file gives files mode with every given file of its folder. Paths
// with a blank are left out, since the Source text of files mode cannot hold
// them; nothing when no path is left.
std::optional<OpenedSource> sourceForPaths(const std::vector<std::string>& paths,
                                           const std::function<PathKind(const std::string&)>& kindOf);

}  // namespace quillon
