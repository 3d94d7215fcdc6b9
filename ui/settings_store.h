#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// Where the windows keep what they remember between runs: text values under
// keys ("printer/kind"), paths in the file system's own bytes. The toolkit's
// own settings are behind it (ui/qt/qt_settings_store.h); tests keep theirs
// in memory.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Nothing when the key holds no value.
    virtual std::optional<std::string> value(const std::string& key) const = 0;
    virtual void set_value(const std::string& key, const std::string& value) = 0;
    // The keys directly under `group` ("printer"), without the group.
    virtual std::vector<std::string> keys_in(const std::string& group) const = 0;
};

} // namespace kvalon
