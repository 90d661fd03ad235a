#pragma once
// Where the manual is: "<program path without extension>.chm" beside the
// program when it exists, else the installed HTML manual.

#include <functional>
#include <optional>
#include <string>

namespace quillon {

// The installed HTML manual, relative to the program's folder.
constexpr const char* kInstalledManual = "../share/doc/quillon/manual.html";

// The document Help opens for a program path; nothing when neither exists.
std::optional<std::string> helpDocument(const std::string& programPath,
                                        const std::function<bool(const std::string&)>& exists);

}  // namespace quillon
