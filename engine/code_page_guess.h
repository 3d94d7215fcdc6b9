#pragma once

#include "engine/code_page.h"

#include <string_view>

namespace kvalon {

// The code page planning tells from a report, and how sure it is.
struct CodePageGuess {
    CodePageId page = CodePageId::Mik;
    int certainty = 100; // percent
    // The page leads every page that prints the report otherwise by the
    // margin a page other than MIK needs to be taken.
    bool sure = true;
};

// Tells the code page of a report from a sample of it (its beginning, lines
// ended by CR, LF or both) by three kinds of evidence: how well the letters
// each page makes of the bytes fit the letters of one of the languages it
// knows (engine/letter_statistics.h), whether the box characters it makes
// join into frames or stand among letters, and what it leaves unprintable.
// Pages that print the sample alike are one answer, MIK first among them. A
// page other than MIK is taken only when it is clearly better than every page
// that prints the sample otherwise and its letters read as text of its
// language; else the answer is MIK. The certainty is no more than either
// lead allows: the page's over the others, and its letters' over no text, so
// it falls with the evidence; without letters that are text (random bytes,
// one byte repeated, no letters at all) the answer is MIK, below 50 %. A
// sample without bytes above 127 prints alike in every page: MIK, certainly.
CodePageGuess guess_code_page(std::string_view sample);

} // namespace kvalon
