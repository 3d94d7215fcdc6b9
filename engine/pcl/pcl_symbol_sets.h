#pragma once

#include "engine/pcl/pcl_state.h"

#include <cstdint>

namespace kvalon {

// The symbol set ESC ( value letter chooses (10U PC-8, 12U PC-850, 17U
// PC-852, 8U Roman-8, 0N ISO 8859-1, 19U Windows Latin 1, 9E Windows 1250,
// 9R Windows 1251, 3R PC Cyrillic (866), 10N ISO 8859-5, 0U ASCII), or
// kReportSymbolSet for any other: the report's own code page.
std::uint32_t pcl_symbol_set(double value, char letter);

// The character `code` prints in `symbol_set` (not kReportSymbolSet): codes
// below 128 are ASCII in every set; U+FFFD where the set has none.
char32_t pcl_character(std::uint32_t symbol_set, unsigned char code);

} // namespace kvalon
