#pragma once

#include <functional>
#include <string>

class QWidget;

namespace kvalon {

// The open-file dialog: starts in `start_folder`, accepts existing files only
// and returns the chosen full path (in the file system's own bytes), or an
// empty string when the user cancels.
std::string choose_existing_file(QWidget* parent, const std::string& title_utf8,
                                 const std::string& start_folder);

// The save dialog of the PDF printer: starts at `start_path`, offers PDF files
// and returns the full path of the file to write (".pdf" added when the name
// has no extension), or an empty string when the user cancels.
std::string choose_pdf_file(QWidget* parent, const std::string& title_utf8,
                            const std::string& start_path);

// Tests answer the dialogs in advance: while a seam is set it is called with
// the start folder (or path) instead of running the dialog, and its answer is
// returned. Pass nullptr to remove it.
void set_file_dialog_seam(std::function<std::string(const std::string& start_folder)> seam);
void set_save_dialog_seam(std::function<std::string(const std::string& start_path)> seam);

} // namespace kvalon
