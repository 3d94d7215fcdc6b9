#pragma once

#include "ui/page_range.h"

#include <optional>
#include <string>

namespace kvalon {

class PrintSession;

// What the preview's controls show for the session as it is now. A field
// left empty leaves its control as it was.
struct PreviewControls {
    bool next_enabled = false; // Command1: step on
    bool previous_enabled = false;
    bool print_enabled = false; // Command2: print the page on view
    bool more_enabled = false;  // more printing
    std::optional<bool> print_all_enabled;
    std::optional<bool> print_range_enabled;
    std::optional<std::string> next_caption;
    std::optional<bool> print_shown;
    std::optional<std::string> print_caption;
};

// Without a job nothing can be pressed. With one, Command1 steps on (on the
// last page it ends the job without it, past it there is nothing left) and
// Command2 prints the page on view, captioned with its number over the
// report's pages; pages other than the one on view are read again from the
// file, so not once it is deleted.
PreviewControls preview_controls(const PrintSession& session);

// Pages as the preview names them: "стр. 3", "стр. 2-4".
std::string pages_caption(const PageRange& pages);

// Command2's caption: "Печат стр. " and the page on view over the pages the
// report prints.
std::string print_page_caption(const PrintSession& session);

} // namespace kvalon
