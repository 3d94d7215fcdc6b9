#pragma once

#include <string>

namespace kvalon {

// Whether the beginning of the report at `path` (its first 64 KiB) holds
// printer sequences: ESC followed by a letter, digit or sign (ESC @, ESC E,
// ESC - 1 ...). Read as plain text they print as those letters; the ESC/P
// mode carries them out instead. False when the file cannot be read.
bool holds_epson_sequences(const std::string& path);

} // namespace kvalon
