#include "engine/pcl/pcl_state.h"

#include <algorithm>
#include <cmath>

namespace kvalon {

namespace {

constexpr std::int64_t inches(double value) {
    return static_cast<std::int64_t>(value * kPclUnitsPerInch + 0.5);
}

constexpr std::int64_t mm(double value) {
    return static_cast<std::int64_t>(value * kPclUnitsPerInch / 25.4 + 0.5);
}

constexpr PclPageSize kSizes[] = {
    {1, "Executive", inches(7.25), inches(10.5), 7, false},
    {2, "Letter", inches(8.5), inches(11), 1, false},
    {3, "Legal", inches(8.5), inches(14), 5, false},
    {6, "Ledger", inches(11), inches(17), 3, false},
    {25, "A5", mm(148), mm(210), 11, true},
    {26, "A4", mm(210), mm(297), 9, true},
    {27, "A3", mm(297), mm(420), 8, true},
    {80, "Monarch", inches(3.875), inches(7.5), 37, false},
    {81, "Com-10", inches(4.125), inches(9.5), 20, false},
    {90, "DL", mm(110), mm(220), 27, true},
    {91, "C5", mm(162), mm(229), 28, true},
    {100, "B5", mm(176), mm(250), 34, true},
};

// The border at the left and right of the logical page, in dots, as a
// LaserJet keeps it: a quarter inch on inch-sized paper upright, less on
// metric paper and across.
std::int64_t border_dots(bool metric, bool landscape) {
    if (landscape) {
        return metric ? 59 : 60;
    }
    return metric ? 71 : 75;
}

constexpr std::int64_t kDefaultTopMargin = kPclUnitsPerInch / 2;
constexpr std::int64_t kDefaultBottomMargin = kPclUnitsPerInch / 2;

} // namespace

std::int64_t PclFont::advance() const {
    // Our face is 0.6 of its height wide: 120 / height characters to the inch.
    const double per_inch = proportional ? 120.0 / std::max(height, 0.25) : pitch;
    return std::max<std::int64_t>(
        1, std::llround(static_cast<double>(kPclUnitsPerInch) / std::max(per_inch, 0.1)));
}

const PclPageSize* pcl_page_size(int pcl) {
    for (const PclPageSize& size : kSizes) {
        if (size.pcl == pcl) {
            return &size;
        }
    }
    return nullptr;
}

PclState PclState::reset(CodePageId code_page) {
    PclState state;
    state.code_page = code_page;
    state.set_page(26, false);
    return state;
}

void PclState::set_page(int size, bool turn) {
    const PclPageSize* found = pcl_page_size(size);
    if (found == nullptr) {
        return;
    }
    page_size = size;
    landscape = turn;
    page_width = turn ? found->length : found->width;
    page_length = turn ? found->width : found->length;
    logical_left = border_dots(found->metric, turn) * kPclUnitsPerDot;
    logical_width = page_width - 2 * logical_left;
    top_margin = kDefaultTopMargin;
    default_text_length();
    left_margin = 0;
    right_margin = logical_width;
    x = 0;
    y = first_line();
}

void PclState::default_text_length() {
    const std::int64_t room = page_length - top_margin - kDefaultBottomMargin;
    text_length = vmi > 0 ? std::max<std::int64_t>(room / vmi, 0) * vmi : room;
}

} // namespace kvalon
