#pragma once

namespace kvalon {

// The errno the rest of the program reads for the system's last error.
int errno_of_last_error();

} // namespace kvalon
