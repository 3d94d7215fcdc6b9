#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kvalon {

// What the windows' logic asks of the toolkit that shows it (ui/qt/ for Qt).
class WindowServices {
public:
    virtual ~WindowServices() = default;

    // A message with one OK button and the program's title; returns when it
    // has been read (at once where nobody can read it).
    virtual void show_message(const std::string& utf8_text) = 0;
    // A question with one button for each of `answers`; the index of the one
    // chosen, `cancel` when the question is closed, `unattended` where nobody
    // can answer.
    virtual int ask_question(const std::string& utf8_text, const std::vector<std::string>& answers,
                             int cancel, int unattended) = 0;
    // Runs `work` on the windows' thread, in its turn. Callable from any thread.
    virtual void post(std::function<void()> work) = 0;
};

} // namespace kvalon
