#include "engine/paper_names.h"

#include "engine/messages.h"
#include "engine/paper_codes.h"

#include <array>

namespace kvalon {

namespace {
// Index = Windows paper code; code 28 has no name of its own and 31 carries the
// C5 envelope name, as our users' paper lists have always shown them.
constexpr std::array<const char*, 42> kPaperNames = {
    nullptr,
    "Letter, 8 1/2 x 11 in. ",
    "Letter Small, 8 1/2 x 11 in.",
    "Tabloid, 11 x 17 in.",
    "Ledger, 17 x 11 in.",
    "Legal, 8 1/2 x 14 in. ",
    "Statement, 5 1/2 x 8 1/2 in.",
    "Executive, 7 1/2 x 10 1/2 in. ",
    "A3, 297 x 420 mm ",
    "A4, 210 x 297 mm ",
    "A4 Small, 210 x 297 mm ",
    "A5, 148 x 210 mm ",
    "B4, 250 x 354 mm ",
    "B5, 182 x 257 mm ",
    "Folio, 8 1/2 x 13 in.",
    "Quarto, 215 x 275 mm ",
    "10 x 14 in. ",
    "11 x 17 in. ",
    "Note, 8 1/2 x 11 in.",
    "Envelope #9, 3 7/8 x 8 7/8 in. ",
    "Envelope #10, 4 1/8 x 9 1/2 in.",
    "Envelope #11, 4 1/2 x 10 3/8 in.",
    "Envelope #12, 4 1/2 x 11 in. ",
    "Envelope #14, 5 x 11 1/2 in. ",
    "C size sheet ",
    "D size sheet ",
    "E size sheet ",
    "Envelope DL, 110 x 220 mm ",
    "Неизвестен тип 28",
    "Envelope C3, 324 x 458 mm ",
    "Envelope C4, 229 x 324 mm ",
    "Envelope C5, 162 x 229 mm ",
    "Envelope C65, 114 x 229 mm ",
    "Envelope B4, 250 x 353 mm ",
    "Envelope B5, 176 x 250 mm ",
    "Envelope B6, 176 x 125 mm ",
    "Envelope, 110 x 230 mm ",
    "Envelope Monarch, 3 7/8 x 7 1/2 in.",
    "Envelope, 3 5/8 x 6 1/2 in. ",
    "U.S. Standard Fanfold, 14 7/8 x 11 in. ",
    "German Standard Fanfold, 8 1/2 x 12 in. ",
    "German Legal Fanfold, 8 1/2 x 13 in. ",
};
} // namespace

std::string paper_name(int windows_code) {
    if (windows_code == PaperUserDefined) {
        return "User-defined";
    }
    if (windows_code > 0 && windows_code < static_cast<int>(kPaperNames.size())) {
        return kPaperNames[static_cast<std::size_t>(windows_code)];
    }
    return messages::kUnknownPaper;
}

bool paper_is_replaced_by_a4(int windows_code) {
    return windows_code == PaperLetter || windows_code == PaperLetterSmall ||
           windows_code == PaperLegal || windows_code == PaperFolio || windows_code == PaperQuarto;
}

} // namespace kvalon
