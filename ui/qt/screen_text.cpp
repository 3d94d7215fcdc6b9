#include "ui/qt/screen_text.h"

#include "engine/box_arms.h"
#include "engine/control_codes.h"
#include "engine/filter_text.h"
#include "engine/print_job.h"
#include "printing/print_char.h"

#include <array>

namespace kvalon {

namespace {

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
    const CellContent& content = cell_content(code);
    if (box_arms(content.character)) {
        return QString::fromLatin1(screen.c_str());
    }
    return content.text.empty() ? QStringLiteral(" ") : QString::fromStdString(content.text);
}

} // namespace

QString page_display_text(const std::string& page) {
    // The table follows the bold marker and the code page, as the printer's
    // does.
    static std::array<QString, 256> table;
    static std::string table_marker;
    static CodePageId table_page = CodePageId::Mik;
    static bool built = false;
    const PrintJob& j = job();
    if (!built || table_marker != j.SkipChar || table_page != j.CodePage) {
        for (int code = 0; code < 256; ++code) {
            table[static_cast<std::size_t>(code)] = shown_for(static_cast<unsigned char>(code));
        }
        table_marker = j.SkipChar;
        table_page = j.CodePage;
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
