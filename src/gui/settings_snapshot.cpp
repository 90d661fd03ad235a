#include "gui/settings_snapshot.h"

#include "platform/ini_file.h"

namespace quillon {

SettingsSnapshot::SettingsSnapshot(std::string iniFile, const std::vector<Key>& keys) : iniFile_(std::move(iniFile)) {
    for (const Key& key : keys)
        entries_.push_back({key, platform::getProfileString(key.first, key.second, "", iniFile_)});
}

void SettingsSnapshot::restore() const {
    for (const Entry& entry : entries_)
        platform::writeProfileString(entry.key.first, entry.key.second, entry.value, iniFile_);
}

}  // namespace quillon
