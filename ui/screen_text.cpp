#include "ui/screen_text.h"

#include "engine/control_codes.h"
#include "engine/filter_text.h"
#include "engine/print_job.h"
#include "printing/code_pages.h"
#include "printing/print_char.h"

#include <array>

namespace kvalon {

namespace {

bool is_box_drawing(unsigned char code) {
    const char32_t shape = mik_to_unicode(code);
    return shape >= U'\u2500' && shape < U'\u2580';
}

QString shown_for(unsigned char code) {
    if (code == codes::LineFeed) {
        return QStringLiteral("\n");
    }
    if (code == codes::CarriageReturn) {
        return {};
    }
    const std::string screen = filter_text(std::string(1, static_cast<char>(code)), "Screen");
    if (screen.empty()) {
        return {}; // printer controls and the bold marker take no place on screen
    }
    if (is_box_drawing(code)) {
        return QString::fromLatin1(screen.c_str());
    }
    const std::string& printed = printed_text(code);
    return printed.empty() ? QStringLiteral(" ") : QString::fromStdString(printed);
}

} // namespace

QString page_display_text(const std::string& page) {
    // The table follows the bold marker, as the printer's does.
    static std::array<QString, 256> table;
    static std::string table_marker;
    static bool built = false;
    if (!built || table_marker != job().SkipChar) {
        for (int code = 0; code < 256; ++code) {
            table[static_cast<std::size_t>(code)] = shown_for(static_cast<unsigned char>(code));
        }
        table_marker = job().SkipChar;
        built = true;
    }
    QString text;
    text.reserve(static_cast<qsizetype>(page.size()));
    for (const char c : page) {
        text += table[static_cast<unsigned char>(c)];
    }
    return text;
}

} // namespace kvalon
