#include "ui/qt/qt_settings_store.h"

#include <QFile>
#include <QSettings>

namespace kvalon {

namespace {

QString to_qt(const std::string& text) {
    return QFile::decodeName(text.c_str());
}

std::string from_qt(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

} // namespace

std::optional<std::string> QtSettingsStore::value(const std::string& key) const {
    const QVariant value = QSettings().value(to_qt(key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    return from_qt(value.toString());
}

void QtSettingsStore::set_value(const std::string& key, const std::string& value) {
    QSettings().setValue(to_qt(key), to_qt(value));
}

std::vector<std::string> QtSettingsStore::keys_in(const std::string& group) const {
    QSettings settings;
    settings.beginGroup(to_qt(group));
    std::vector<std::string> keys;
    for (const QString& key : settings.childKeys()) {
        keys.push_back(from_qt(key));
    }
    return keys;
}

SettingsStore& qt_settings_store() {
    static QtSettingsStore store;
    return store;
}

} // namespace kvalon
