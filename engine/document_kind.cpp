#include "engine/document_kind.h"

#include "engine/control_codes.h"

#include "engine/source_file.h"

namespace kvalon {

namespace {

constexpr std::size_t kHeadBytes = 64;
constexpr char kEndOfTransmission = '\x04';
constexpr std::string_view kUniversalExit = "\x1b%-12345X";

bool is_lower(char c) {
    return c >= 'a' && c <= 'z';
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// A PCL parameterized sequence at the start of `text`: ESC, the
// parameterized character, the group character where it has one, a value of
// at least one digit, and the letter that ends or continues it.
bool starts_with_pcl_sequence(std::string_view text) {
    if (text.size() < 4 || static_cast<unsigned char>(text[0]) != codes::Escape) {
        return false;
    }
    const char parameterized = text[1];
    std::size_t at = 2;
    if (parameterized == '&' || parameterized == '*') {
        if (!is_lower(text[at])) {
            return false;
        }
        ++at;
    } else if (parameterized == '(' || parameterized == ')') {
        if (text[at] == 's') {
            ++at;
        }
    } else {
        return false;
    }
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    const std::size_t digits = at;
    while (at < text.size() && (is_digit(text[at]) || text[at] == '.')) {
        ++at;
    }
    return at > digits && is_digit(text[digits]) && at < text.size() && text[at] >= '@' &&
           text[at] <= '~';
}

bool is_pcl(std::string_view head) {
    if (head.substr(0, kUniversalExit.size()) == kUniversalExit) {
        return true;
    }
    std::size_t at = 0;
    while (head.substr(at, 2) == "\x1b"
                                 "E") {
        at += 2;
    }
    return at > 0 && starts_with_pcl_sequence(head.substr(at));
}

} // namespace

DocumentKind document_kind_of(std::string_view head) {
    if (head.substr(0, 5) == "%PDF-") {
        return DocumentKind::Pdf;
    }
    if (!head.empty() && head.front() == kEndOfTransmission) {
        head.remove_prefix(1);
    }
    if (head.substr(0, 2) == "%!") {
        return DocumentKind::PostScript;
    }
    return is_pcl(head) ? DocumentKind::Pcl : DocumentKind::Text;
}

// Opened without waiting, like the report itself: a pipe put under the name
// cannot hold the program.
DocumentKind document_kind(const std::string& path) {
    const std::string head = read_head(source_file().inputs(), path, kHeadBytes);
    return head.empty() ? DocumentKind::Text : document_kind_of(head);
}

const char* document_kind_name(DocumentKind kind) {
    switch (kind) {
    case DocumentKind::PostScript:
        return "postscript";
    case DocumentKind::Pdf:
        return "pdf";
    case DocumentKind::Pcl:
        return "pcl";
    case DocumentKind::Text:
        break;
    }
    return "text";
}

const char* document_kind_title(DocumentKind kind) {
    switch (kind) {
    case DocumentKind::PostScript:
        return "PostScript";
    case DocumentKind::Pdf:
        return "PDF";
    case DocumentKind::Pcl:
        return "PCL";
    case DocumentKind::Text:
        break;
    }
    return "text";
}

} // namespace kvalon
