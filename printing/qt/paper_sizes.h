#pragma once

#include <QPageSize>

#include <string>

namespace kvalon {

// Windows paper codes and Qt page sizes, both ways. Folio (14), which Qt does
// not know by code, is built from its size; a size with no code reads as 256.
QPageSize page_size_for_code(int windows_code);
int code_for_page_size(const QPageSize& size);

// The paper a CUPS job names in its media option: a self-describing name
// ("iso_a5_148x210mm", "na_letter_8.5x11in", "custom_100x150mm") or a paper
// keyword ("A5", "letter"), letter case ignored. Of a list ("A4,tray-1") the
// first paper counts. Invalid when no part names a paper.
QPageSize page_size_for_media(const std::string& media);

} // namespace kvalon
