#pragma once

#include <QString>

#include <string>

namespace kvalon {

// The screen form of a page is Windows-1251 bytes with lines ended by CR LF;
// the text box holds Unicode with lines ended by LF. Bytes the code page
// leaves unassigned come back as "?".
QString screen_text_to_display(const std::string& windows1251);
std::string display_to_screen_text(const QString& display);

} // namespace kvalon
