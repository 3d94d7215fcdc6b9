#include "engine/filter_text.h"

#include "engine/box_arms.h"
#include "engine/code_page.h"
#include "engine/control_codes.h"
#include "engine/print_job.h"

namespace kvalon {

namespace {

using Code = unsigned char;

constexpr int kWindowsLetterShift = 64;
constexpr char32_t kNumeroSign = U'№';
constexpr char32_t kUpperHalfBlock = U'▀';

std::size_t page_break_cut(const std::string& text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (static_cast<Code>(text[i - 1]) == codes::FormFeed &&
            static_cast<Code>(text[i]) == codes::CarriageReturn) {
            return i - 1;
        }
    }
    return text.size();
}

// A frame reads on screen as minus signs where its lines run across, bars
// where they only run down, and blanks at corners and side joints; the low
// line joins the minus signs and the upper half block the blanks.
Code plain_for_screen(Code c, char32_t character) {
    if (c == '_') {
        return '-';
    }
    if (const auto arms = box_arms(character)) {
        const bool across = arms->left != Arm::None && arms->right != Arm::None;
        const bool sideways = arms->left != Arm::None || arms->right != Arm::None;
        if (across) {
            return '-';
        }
        return sideways ? ' ' : '|';
    }
    return character == kUpperHalfBlock ? ' ' : c;
}

bool is_printer_control(Code c) {
    return c == codes::FormFeed || c == codes::ShiftIn || c == codes::DeviceControl2 ||
           c == codes::Escape;
}

} // namespace

std::string filter_text(const std::string& text, const std::string& target) {
    const bool screen = target == "Screen";
    const PrintJob& j = job();
    // MIK keeps the program's old ways: the numero sign is written "N" and
    // the letters move to their Windows-1251 places.
    const bool mik = j.CodePage == CodePageId::Mik;
    const std::string& skip = j.SkipChar;
    const bool has_skip = !skip.empty();
    const Code skip_code = has_skip ? static_cast<Code>(skip[0]) : 0;
    const std::size_t end = page_break_cut(text);
    std::string result;
    result.reserve(end);
    for (std::size_t i = 0; i < end; ++i) {
        Code c = static_cast<Code>(text[i]);
        if (is_printer_control(c)) {
            continue;
        }
        const char32_t character = character_of(j.CodePage, c);
        if (mik && character == kNumeroSign) {
            c = 'N';
        } else if (has_skip && c == skip_code) {
            continue;
        } else if (screen) {
            c = plain_for_screen(c, character);
        }
        if (mik && c >= codes::FirstMikLetter && c <= codes::LastMikLetter) {
            c = static_cast<Code>(c + kWindowsLetterShift);
        }
        result.push_back(static_cast<char>(c));
    }
    return result;
}

} // namespace kvalon
