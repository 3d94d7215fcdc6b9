#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kvalon {

class JobHistory;

// A question with one button for each of `answers`.
struct Question {
    std::string text; // UTF-8
    std::vector<std::string> answers;
    int cancel = 0;     // closing the question, or Escape, chooses it
    int safe = 0;       // Enter chooses it: the answer that destroys nothing
    int unattended = 0; // chosen where nobody can answer
};

// What the windows' logic asks of the toolkit that shows it (ui/qt/ for Qt).
class WindowServices {
public:
    virtual ~WindowServices() = default;

    // A message with one OK button and the program's title; returns when it
    // has been read (at once where nobody can read it).
    virtual void show_message(const std::string& utf8_text) = 0;
    // The index of the answer chosen.
    virtual int ask_question(const Question& question) = 0;
    // Runs `work` on the windows' thread, in its turn. Callable from any thread.
    virtual void post(std::function<void()> work) = 0;
    // Where the jobs printed from the windows are kept for printing again;
    // nothing keeps them where it gives none.
    virtual JobHistory* job_history() { return nullptr; }
};

} // namespace kvalon
