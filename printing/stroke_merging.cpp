#include "printing/stroke_merging.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

namespace kvalon {

namespace {

using Span = std::pair<double, double>;
using Line = std::pair<double, double>; // width, and the row's y or the column's x

std::vector<Span> merged_spans(std::vector<Span> spans, double touching) {
    std::sort(spans.begin(), spans.end());
    std::vector<Span> merged;
    for (const Span& span : spans) {
        if (!merged.empty() && span.first <= merged.back().second + touching) {
            merged.back().second = std::max(merged.back().second, span.second);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}

} // namespace

std::vector<Stroke> merge_collinear(const std::vector<Stroke>& strokes, double touching) {
    std::map<Line, std::vector<Span>> rows;
    std::map<Line, std::vector<Span>> columns;
    std::vector<Stroke> result;
    for (const Stroke& s : strokes) {
        if (s.y1 == s.y2) {
            rows[{s.width, s.y1}].emplace_back(std::min(s.x1, s.x2), std::max(s.x1, s.x2));
        } else if (s.x1 == s.x2) {
            columns[{s.width, s.x1}].emplace_back(std::min(s.y1, s.y2), std::max(s.y1, s.y2));
        } else {
            result.push_back(s);
        }
    }
    for (auto& [row, spans] : rows) {
        for (const Span& span : merged_spans(std::move(spans), touching)) {
            result.push_back({span.first, row.second, span.second, row.second, row.first});
        }
    }
    for (auto& [column, spans] : columns) {
        for (const Span& span : merged_spans(std::move(spans), touching)) {
            result.push_back({column.second, span.first, column.second, span.second, column.first});
        }
    }
    return result;
}

} // namespace kvalon
