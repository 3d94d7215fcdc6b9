#pragma once

#include "ui/settings_store.h"

namespace kvalon {

// Qt's user settings of the program (under the organisation and application
// names set at start), values converted as the file system names files.
class QtSettingsStore final : public SettingsStore {
public:
    std::optional<std::string> value(const std::string& key) const override;
    void set_value(const std::string& key, const std::string& value) override;
    std::vector<std::string> keys_in(const std::string& group) const override;
};

// The one store of the windows program.
SettingsStore& qt_settings_store();

} // namespace kvalon
