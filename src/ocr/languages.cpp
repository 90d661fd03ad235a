#include "ocr/languages.h"

#include <algorithm>

#include "platform/environment.h"
#include "platform/files.h"

namespace quillon {

namespace {

bool validName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

std::string dataFile(const std::string& language) {
    std::string folder = languageDataFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + language + ".traineddata";
}

}  // namespace

std::optional<std::vector<std::string>> splitLanguages(std::string_view text) {
    std::vector<std::string> names;
    for (;;) {
        const std::size_t plus = text.find('+');
        const std::string_view name = text.substr(0, plus);
        if (!validName(name)) return std::nullopt;
        names.emplace_back(name);
        if (plus == std::string_view::npos) return names;
        text.remove_prefix(plus + 1);
    }
}

std::string languageDataFolder() {
    const std::string chosen = platform::environmentValue("TESSDATA_PREFIX");
    return chosen.empty() ? std::string(QUILLON_TESSDATA) : chosen;
}

std::string missingLanguage(const std::vector<std::string>& languages) {
    for (const std::string& language : languages)
        if (!platform::fileExists(dataFile(language))) return language;
    return {};
}

std::string missingLanguageMessage(const std::string& language) {
    // Debian names the packages after Tesseract's names, in lower case with '-'.
    std::string package = "tesseract-ocr-" + language;
    std::transform(package.begin(), package.end(), package.begin(),
                   [](char c) { return c == '_' ? '-' : char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return "the text recognition data for the language '" + language + "' are not installed (" + dataFile(language) +
           " is missing); install the package " + package;
}

}  // namespace quillon
