#pragma once

#include <string>
#include <vector>

// The pages a printer of one language prints from `bytes`, read from
// `start`, each as the record writes it down: every page, or the first only.
// The record is built with `first_only`, watches the printer and keeps its
// pages in `pages`, the last one open.
template <typename Printer, typename Record, typename State>
std::vector<std::string> pages_printed(const std::string& bytes, const State& start,
                                       bool first_only) {
    Record record(first_only);
    Printer printer(record, start);
    record.watch(printer);
    printer.take(bytes);
    printer.finish();
    std::vector<std::string>& pages = record.pages;
    if (!first_only && pages.back().empty()) {
        pages.pop_back();
    }
    return pages;
}
