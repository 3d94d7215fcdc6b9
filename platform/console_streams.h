#pragma once

namespace kvalon {

// Windows: standard input, output and error carry bytes as they are (a
// report on standard input, the answers), and the console shows UTF-8.
void prepare_console_streams();

} // namespace kvalon
