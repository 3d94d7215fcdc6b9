#pragma once

#include "engine/code_page.h"
#include "engine/printer_language.h"
#include "engine/sheet_offset.h"
#include "startup/watch/watch_settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// Splits the argument text the way DOS callers write it: commas count as
// blanks, each pair of blanks becomes one (in one pass, so three stay two),
// and the text is cut at every blank. With one word the action "0" and the
// size "8" are added, with two words the size "8"; the list then has four
// entries, the last one unused.
std::vector<std::string> split_command_line(std::string text);

// --setup-queue NAME DESTINATION or --remove-queue NAME: the print-server
// queue instead of a report.
struct QueueCommand {
    enum class Action { Setup, Remove };
    Action action = Action::Setup;
    std::string name;
    std::string destination;
};

// Options in front of the ordinary command line: leading words that begin
// with "--". Everything after them is joined with single blanks into
// `argument_text`.
struct ProgramOptions {
    bool help = false;
    bool version = false;
    bool plan = false;
    // --escp: the report is read as an Epson ESC/P printer would; --text: as
    // plain text; neither, the report tells which.
    // --pcl: as a LaserJet would read its PCL 5.
    LanguageChoice language = LanguageChoice::Auto;
    // --render: a PCL job is read and drawn by the program even for a printer
    // that reads PCL itself.
    bool render = false;
    // --code-page NAME: the code page the report is written in, or auto; for
    // --setup-queue the queue's own.
    std::optional<CodePageChoice> code_page;
    // --form-length: the form the printer was set to (printer units).
    std::optional<std::int64_t> form_length;
    std::string form_length_text; // as written, for a queue's default
    bool fit_pages = false;       // each page the report makes with a form feed on one sheet
    // --offset X,Y: every page moved on the sheet for the printer's feed
    // (millimetres across and down).
    std::optional<SheetOffset> offset;
    std::optional<std::string> printer;
    std::optional<std::string> pdf;
    std::optional<int> paper;
    std::optional<int> copies;
    // A report to open in the windows, chosen and planned (the desktop's
    // "Open with"); never printed without the user. Empty when --open stands
    // without a file (a desktop entry started without one): the windows open
    // with no report chosen.
    std::optional<std::string> open;
    std::optional<QueueCommand> queue_command;
    // --watch FOLDER or --listen SOURCE with their own options: jobs that
    // arrive on their own, each printed with `job_words`, the other options
    // as they were given (--pdf, a folder then, left out of them).
    std::optional<WatchSettings> watch;
    std::optional<ListenSettings> listen;
    std::vector<std::string> job_words;
    // --history: the jobs kept for printing again are listed; --reprint N:
    // the Nth of that list (1 the newest) is printed again.
    bool history = false;
    std::optional<int> reprint;
    std::string argument_text;
    // The words `argument_text` was made of, as the shell passed them: a
    // report's name with blanks in it comes whole in one of them.
    std::vector<std::string> shell_words;
    // True when words follow the options, even a single empty one: an empty
    // word from a batch caller is a missing file name, not the windows. A
    // non-empty `argument_text` counts as words too.
    bool has_words = false;
    // Where the plan-only action writes TMPPRNT1.TMP; empty means beside the
    // source. A report read from standard input answers in the current folder.
    std::string answer_folder;
    // The title the queue and the PDF show; empty means "Kvalon-P" and the
    // report's file name.
    std::string document_title;
};

// Throws KvalonError(CommandLine) naming the word for an unknown option or a
// missing or unusable value, or "--open" when a report to print follows it.
ProgramOptions parse_program_options(const std::vector<std::string>& words);

// The code page `name` stands for (engine/code_page.h). Throws
// KvalonError(CommandLine) naming `shown_as` with the list of the names known
// when there is none.
CodePageChoice parse_code_page_choice(const std::string& name, const std::string& shown_as);

// The action word as a number: empty counts as 0 (print); a word that is not a
// number gives nothing.
std::optional<double> action_number(const std::string& word);

std::string usage_text();

} // namespace kvalon
