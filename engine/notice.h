#pragma once

#include <functional>
#include <string>

namespace kvalon {

// A note to the user that does not stop the job (UTF-8, one sentence): how it
// is shown is decided once, at start-up (a message box on a desktop); until
// then, and with no handler, it goes to standard error as one line.
void tell_user(const std::string& text);

// Pass nullptr to go back to standard error.
void set_notice_handler(std::function<void(const std::string&)> handler);

} // namespace kvalon
