#pragma once

#include <QPageSize>

namespace kvalon {

// Windows paper codes and Qt page sizes, both ways. Folio (14), which Qt does
// not know by code, is built from its size; a size with no code reads as 256.
QPageSize page_size_for_code(int windows_code);
int code_for_page_size(const QPageSize& size);

} // namespace kvalon
