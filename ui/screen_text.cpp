#include "ui/screen_text.h"

#include "printing/code_pages.h"

#include <QHash>

namespace kvalon {

namespace {
const QHash<char32_t, char>& windows1251_codes() {
    static const QHash<char32_t, char> codes = [] {
        QHash<char32_t, char> table;
        for (int code = 255; code >= 0; --code) {
            table.insert(windows1251_to_unicode(static_cast<unsigned char>(code)),
                         static_cast<char>(code));
        }
        return table;
    }();
    return codes;
}
} // namespace

QString screen_text_to_display(const std::string& windows1251) {
    QString text = QString::fromUtf8(windows1251_to_utf8(windows1251));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

std::string display_to_screen_text(const QString& display) {
    const QHash<char32_t, char>& codes = windows1251_codes();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(display.size()) + 64);
    for (const char32_t code_point : display.toUcs4()) {
        if (code_point == U'\n') {
            bytes += "\r\n";
            continue;
        }
        const auto found = codes.constFind(code_point);
        bytes += found != codes.constEnd() ? found.value() : '?';
    }
    return bytes;
}

} // namespace kvalon
