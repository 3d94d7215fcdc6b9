#pragma once

#include "engine/code_page.h"

#include <array>

namespace kvalon {

// One code page as data: the characters of the bytes 128 to 255.
struct CodePageTable {
    CodePageId id;
    const char* name;
    std::array<char32_t, 128> high;
};

// In the order of CodePageId.
extern const std::array<CodePageTable, kCodePageCount> kCodePageTables;

} // namespace kvalon
