#pragma once
// The recognition languages of "/lang=" and whether their data are installed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/export.h"

namespace quillon {

// "eng+deu" as its names; nothing when the text is empty or a name is not
// made of letters, digits and '_' (a name becomes part of a file path).
QUILLON_EXPORT std::optional<std::vector<std::string>> splitLanguages(std::string_view text);

// The folder that holds the *.traineddata files: $TESSDATA_PREFIX when set,
// else the folder of the Tesseract packages this program was built with.
QUILLON_EXPORT std::string languageDataFolder();

// The first of the languages whose data are not in languageDataFolder();
// empty when all are installed.
QUILLON_EXPORT std::string missingLanguage(const std::vector<std::string>& languages);

// The error for a missing language, naming the package that installs it.
std::string missingLanguageMessage(const std::string& language);

}  // namespace quillon
