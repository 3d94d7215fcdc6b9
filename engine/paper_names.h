#pragma once

#include <string>

namespace kvalon {

// Display name of a Windows paper code, exactly as the DOS callers know it
// (some names end in one blank). Unknown codes give "Неизвестен".
// The returned text is UTF-8.
std::string paper_name(int windows_code);

// Letter, Letter Small, Legal, Folio and Quarto are printed on A4.
bool paper_is_replaced_by_a4(int windows_code);

} // namespace kvalon
