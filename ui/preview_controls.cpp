#include "ui/preview_controls.h"

#include "engine/messages.h"
#include "engine/print_job.h"
#include "ui/captions.h"
#include "ui/print_session.h"

#include <algorithm>

namespace kvalon {

std::string pages_caption(const PageRange& pages) {
    return messages::kPagesWord + std::to_string(pages.first) +
           (pages.last > pages.first ? "-" + std::to_string(pages.last) : std::string());
}

std::string print_page_caption(const PrintSession& session) {
    const PrintJob& j = job();
    const int shown = j.PageNumber == 0 ? 1 : j.PageNumber;
    const int total = std::max(shown, session.page_total());
    return captions::kPrintPage + std::to_string(shown) + "/" + std::to_string(total);
}

PreviewControls preview_controls(const PrintSession& session) {
    PreviewControls controls;
    if (!session.has_job()) {
        return controls;
    }
    const bool on_view = session.page_on_view();
    controls.next_enabled = true;
    controls.previous_enabled = session.can_step_back();
    controls.print_enabled = on_view;
    controls.more_enabled = on_view;
    controls.print_all_enabled = !session.source_deleted();
    controls.print_range_enabled = !session.source_deleted();
    if (!on_view) {
        controls.next_caption = captions::kNothingLeft;
        controls.print_shown = false;
        return controls;
    }
    controls.next_caption = job().SourceDone ? captions::kEndWithoutThisPage : captions::kNextPage;
    controls.print_shown = true;
    controls.print_caption = print_page_caption(session);
    return controls;
}

} // namespace kvalon
