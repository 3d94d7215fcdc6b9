#pragma once

#include <functional>
#include <string>

namespace kvalon {

// A note to the user that does not stop the job (UTF-8, one sentence): how it
// is shown is decided by the program that runs the job (a message box on a
// desktop, a status line of the print service); with no handler it goes to
// standard error as one line.
void tell_user(const std::string& text);

using NoticeHandler = std::function<void(const std::string&)>;

// While it lives, notes go to its handler; when it ends, where they went
// before it, however the scope is left.
class NoticeScope {
public:
    explicit NoticeScope(NoticeHandler handler);
    ~NoticeScope();
    NoticeScope(const NoticeScope&) = delete;
    NoticeScope& operator=(const NoticeScope&) = delete;

private:
    NoticeHandler m_previous;
};

} // namespace kvalon
