#pragma once

#include <functional>
#include <optional>

class QWidget;

namespace kvalon {

// Asks how many lines of a sixth of an inch the printer's form is set to,
// proposing `proposed`; nothing when the user cancels. Only lengths a form
// can have are taken (1 line to 22 inches).
std::optional<int> ask_form_lines(QWidget* parent, int proposed);

// Tests answer the dialog in advance: while a seam is set it is called with
// the proposal instead of running the dialog. Pass nullptr to remove it.
void set_form_lines_seam(std::function<std::optional<int>(int proposed)> seam);

} // namespace kvalon
