#pragma once

#include "ui/window_services.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMessageBox;

namespace kvalon {

// A message with one OK button, no icon and the program's title. Without a
// display the message goes to standard error as one line and the program goes
// on as after OK.
void show_message(const std::string& utf8_text);

// show_message from any thread: a message from a thread beside the windows is
// shown by the windows' thread, in its turn. For the notices of the print
// path (engine/notice.h), which may run beside the windows.
void show_message_from_any_thread(const std::string& utf8_text);

// The box show_message runs on a display: the text, one button "Добре"
// whatever the system's language, no icon, the program's title.
std::unique_ptr<QMessageBox> make_message_box(const std::string& utf8_text);

// The question in a box: one button for each answer (captions with "&"
// marks), no icon, the program's title; returns the index of the answer
// chosen. Enter chooses the safe answer, Escape or closing the box the
// cancelling one. Without a display nobody can answer: the unattended answer
// is chosen and the question goes to standard error.
int ask_question(const Question& question);

// The box ask_question runs on a display; buttons in the order of the answers.
std::unique_ptr<QMessageBox> make_question_box(const Question& question);
// The index of the answer whose button `box` was closed with.
int answer_of(const QMessageBox& box, const Question& question);

// Tests answer questions in advance: while a seam is set, questions go to it
// and its answer is taken. Pass nullptr to remove it.
void set_question_seam(std::function<int(const Question&)> seam);

// Tests answer messages in advance: while a seam is set, messages go to it
// instead of a box or standard error. Pass nullptr to remove it.
void set_message_seam(std::function<void(const std::string&)> seam);

// True on the offscreen and minimal platforms, where no one could press OK.
bool is_headless();

} // namespace kvalon
