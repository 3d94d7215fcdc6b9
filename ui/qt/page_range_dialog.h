#pragma once

#include "ui/page_range.h"

#include <functional>
#include <optional>

class QWidget;

namespace kvalon {

// Asks which pages of a report of `pages` pages to print, proposing
// `proposed`; nothing when the user cancels. Only pages the report has can be
// given; a range typed backwards comes back as typed, to be told.
std::optional<PageRange> ask_page_range(QWidget* parent, PageRange proposed, int pages);

// Tests answer the dialog in advance: while a seam is set it is called with
// the proposal instead of running the dialog. Pass nullptr to remove it.
void set_page_range_seam(std::function<std::optional<PageRange>(PageRange proposed)> seam);

} // namespace kvalon
