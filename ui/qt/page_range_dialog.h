#pragma once

#include <functional>
#include <optional>

class QWidget;

namespace kvalon {

// Pages `first` to `last` of the report, counted from 1 as the preview counts.
struct PageRange {
    int first = 1;
    int last = 1;
};

// Asks which pages to print, proposing `proposed`; nothing when the user
// cancels. `last` is never below `first`.
std::optional<PageRange> ask_page_range(QWidget* parent, PageRange proposed);

// Tests answer the dialog in advance: while a seam is set it is called with
// the proposal instead of running the dialog. Pass nullptr to remove it.
void set_page_range_seam(std::function<std::optional<PageRange>(PageRange proposed)> seam);

} // namespace kvalon
