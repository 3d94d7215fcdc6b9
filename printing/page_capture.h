#pragma once

#include "engine/printer_surface.h"
#include "printing/document_sink.h"
#include "printing/page_description.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kvalon {

// The pages that `draw` would hand to the current printer, captured instead of
// printed. While `draw` runs, printer() is a surface set up as the current
// printer is now (its paper, resolution and faces) whose document ends in
// memory; afterwards, also when `draw` throws, printer() is the current
// printer again, untouched. A document `draw` leaves open is ended, so its
// last page is among the result.
std::vector<PageDescription> capture_pages(const std::function<void()>& draw);

// A surface set up as the current printer is now (its paper, resolution,
// faces and copies) whose pages go to `sink`: a document of its own, drawn as
// the printer would draw it. `copies` is how often the sink is to repeat the
// document (1 where a queue makes the copies). The document title is the
// caller's to set.
std::unique_ptr<PrinterSurface> surface_like_printer(std::unique_ptr<DocumentSink> sink,
                                                     std::optional<int> copies = std::nullopt);

} // namespace kvalon
