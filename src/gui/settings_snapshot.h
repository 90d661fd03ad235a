#pragma once
// Saved settings taken aside and put back: a source opened from the desktop
// must not replace the saved one unless the user converts it.

#include <string>
#include <utility>
#include <vector>

namespace quillon {

class SettingsSnapshot {
public:
    using Key = std::pair<std::string, std::string>;  // section, key

    // Reads the keys' saved values; a missing key reads as empty, which every
    // reader takes as its default.
    SettingsSnapshot(std::string iniFile, const std::vector<Key>& keys);

    // Writes the values read back into the file.
    void restore() const;

private:
    struct Entry {
        Key key;
        std::string value;
    };
    std::string iniFile_;
    std::vector<Entry> entries_;
};

}  // namespace quillon
