#include "printing/qt/stroke_merging.h"

#include <algorithm>
#include <map>
#include <utility>

namespace kvalon {

namespace {

using Span = std::pair<double, double>;

// Strokes of neighbouring cells meet at the same computed coordinate; a
// hundredth of a device pixel absorbs rounding in the cell arithmetic.
constexpr double kTouching = 0.01;

std::vector<Span> merged_spans(std::vector<Span> spans) {
    std::sort(spans.begin(), spans.end());
    std::vector<Span> merged;
    for (const Span& span : spans) {
        if (!merged.empty() && span.first <= merged.back().second + kTouching) {
            merged.back().second = std::max(merged.back().second, span.second);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}

} // namespace

std::vector<QLineF> merge_collinear(const std::vector<QLineF>& strokes) {
    std::map<double, std::vector<Span>> rows;
    std::map<double, std::vector<Span>> columns;
    std::vector<QLineF> result;
    for (const QLineF& s : strokes) {
        if (s.y1() == s.y2()) {
            rows[s.y1()].emplace_back(std::min(s.x1(), s.x2()), std::max(s.x1(), s.x2()));
        } else if (s.x1() == s.x2()) {
            columns[s.x1()].emplace_back(std::min(s.y1(), s.y2()), std::max(s.y1(), s.y2()));
        } else {
            result.push_back(s);
        }
    }
    for (auto& [y, spans] : rows) {
        for (const Span& span : merged_spans(std::move(spans))) {
            result.emplace_back(span.first, y, span.second, y);
        }
    }
    for (auto& [x, spans] : columns) {
        for (const Span& span : merged_spans(std::move(spans))) {
            result.emplace_back(x, span.first, x, span.second);
        }
    }
    return result;
}

} // namespace kvalon
