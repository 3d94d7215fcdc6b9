#include "printing/true_type_glyphs.h"

#include "printing/true_type_outline.h"

namespace kvalon {

namespace {

using Bytes = TrueTypeFile;

constexpr int kDeepestComponent = 8;

// Simple glyphs' point flags.
constexpr unsigned kOnCurve = 0x01;
constexpr unsigned kShortX = 0x02;
constexpr unsigned kShortY = 0x04;
constexpr unsigned kRepeat = 0x08;
constexpr unsigned kSameOrPositiveX = 0x10;
constexpr unsigned kSameOrPositiveY = 0x20;

// Composite glyphs' component flags.
constexpr unsigned kWordArguments = 0x0001;
constexpr unsigned kXyValues = 0x0002;
constexpr unsigned kOneScale = 0x0008;
constexpr unsigned kMoreComponents = 0x0020;
constexpr unsigned kTwoScales = 0x0040;
constexpr unsigned kTwoByTwo = 0x0080;
constexpr unsigned kScaledOffset = 0x0800;
constexpr unsigned kUnscaledOffset = 0x1000;

float f2dot14(std::string_view bytes, std::size_t at) {
    return static_cast<float>(Bytes::s16(bytes, at)) / 16384.f;
}

// One component of a composite glyph as it is stored.
struct Component {
    std::uint16_t glyph = 0;
    unsigned flags = 0;
    int argument1 = 0, argument2 = 0;
    float matrix[4] = {1, 0, 0, 1};
    std::size_t size = 0; // bytes, flags included
};

Component component_at(std::string_view glyph, std::size_t at) {
    Component c;
    c.flags = Bytes::u16(glyph, at);
    c.glyph = Bytes::u16(glyph, at + 2);
    std::size_t next = at + 4;
    const bool signed_values = (c.flags & kXyValues) != 0;
    if ((c.flags & kWordArguments) != 0) {
        c.argument1 = signed_values ? Bytes::s16(glyph, next) : Bytes::u16(glyph, next);
        c.argument2 = signed_values ? Bytes::s16(glyph, next + 2) : Bytes::u16(glyph, next + 2);
        next += 4;
    } else {
        const auto first = static_cast<std::uint8_t>(Bytes::unsigned_at(glyph, next, 1));
        const auto second = static_cast<std::uint8_t>(Bytes::unsigned_at(glyph, next + 1, 1));
        c.argument1 = signed_values ? static_cast<std::int8_t>(first) : first;
        c.argument2 = signed_values ? static_cast<std::int8_t>(second) : second;
        next += 2;
    }
    if ((c.flags & kOneScale) != 0) {
        c.matrix[0] = c.matrix[3] = f2dot14(glyph, next);
        next += 2;
    } else if ((c.flags & kTwoScales) != 0) {
        c.matrix[0] = f2dot14(glyph, next);
        c.matrix[3] = f2dot14(glyph, next + 2);
        next += 4;
    } else if ((c.flags & kTwoByTwo) != 0) {
        for (int i = 0; i < 4; ++i) {
            c.matrix[i] = f2dot14(glyph, next + 2 * static_cast<std::size_t>(i));
        }
        next += 8;
    }
    c.size = next - at;
    return c;
}

template <typename Visit> void each_component(std::string_view glyph, Visit visit) {
    std::size_t at = 10;
    for (bool more = true; more && at + 4 <= glyph.size();) {
        const Component c = component_at(glyph, at);
        visit(c);
        more = (c.flags & kMoreComponents) != 0;
        at += c.size;
    }
}

void transform(std::vector<TrueTypeGlyphs::Point>& points, const float (&m)[4]) {
    for (TrueTypeGlyphs::Point& p : points) {
        const float x = p.x * m[0] + p.y * m[2];
        const float y = p.x * m[1] + p.y * m[3];
        p.x = x;
        p.y = y;
    }
}

void translate(std::vector<TrueTypeGlyphs::Point>& points, float dx, float dy) {
    for (TrueTypeGlyphs::Point& p : points) {
        p.x += dx;
        p.y += dy;
    }
}

} // namespace

TrueTypeGlyphs::TrueTypeGlyphs(const TrueTypeFile& file)
    : m_glyf(file.table(sfnt_tag("glyf"))), m_loca(file.table(sfnt_tag("loca"))),
      m_hmtx(file.table(sfnt_tag("hmtx"))) {
    m_count = Bytes::u16(file.table(sfnt_tag("maxp")), 4);
    m_long_metrics = Bytes::u16(file.table(sfnt_tag("hhea")), 34);
    m_long_offsets = Bytes::s16(file.table(sfnt_tag("head")), 50) != 0;
}

std::string_view TrueTypeGlyphs::glyph(std::uint32_t id) const {
    if (id >= m_count) {
        return {};
    }
    std::size_t start = 0;
    std::size_t end = 0;
    if (m_long_offsets) {
        start = Bytes::u32(m_loca, id * 4);
        end = Bytes::u32(m_loca, id * 4 + 4);
    } else {
        start = 2u * Bytes::u16(m_loca, id * 2);
        end = 2u * Bytes::u16(m_loca, id * 2 + 2);
    }
    if (end <= start || end > m_glyf.size()) {
        return {};
    }
    return m_glyf.substr(start, end - start);
}

std::vector<std::uint16_t> TrueTypeGlyphs::components(std::uint32_t id) const {
    const std::string_view bytes = glyph(id);
    std::vector<std::uint16_t> parts;
    if (bytes.size() >= 10 && Bytes::s16(bytes, 0) < 0) {
        each_component(bytes, [&](const Component& c) { parts.push_back(c.glyph); });
    }
    return parts;
}

std::vector<TrueTypeGlyphs::Point> TrueTypeGlyphs::points(std::uint32_t id, int depth) const {
    const std::string_view bytes = glyph(id);
    if (bytes.size() < 10 || depth > kDeepestComponent) {
        return {};
    }
    std::vector<Point> found =
        Bytes::s16(bytes, 0) < 0 ? composite_points(bytes, depth) : simple_points(bytes);
    // Drawn from the left side bearing the advances give, as rasterizers do.
    if (depth == 0 && id < m_count && m_long_metrics > 0) {
        const std::size_t bearing =
            id < m_long_metrics ? 4u * id + 2 : 4u * m_long_metrics + 2u * (id - m_long_metrics);
        const int shift = Bytes::s16(m_hmtx, bearing) - Bytes::s16(bytes, 2);
        if (shift != 0) {
            translate(found, static_cast<float>(shift), 0);
        }
    }
    return found;
}

std::vector<TrueTypeGlyphs::Point> TrueTypeGlyphs::simple_points(std::string_view g) const {
    const std::size_t contours = Bytes::u16(g, 0);
    const std::size_t instructions_at = 10 + 2 * contours;
    if (contours == 0 || instructions_at + 2 > g.size()) {
        return {};
    }
    const std::size_t count = Bytes::u16(g, instructions_at - 2) + 1u;
    std::vector<Point> points(count);
    for (std::size_t c = 0; c < contours; ++c) {
        const std::size_t last = Bytes::u16(g, 10 + 2 * c);
        if (last >= count) {
            return {};
        }
        points[last].ends_contour = true;
    }
    std::size_t at = instructions_at + 2 + Bytes::u16(g, instructions_at);
    std::vector<unsigned> flags;
    flags.reserve(count);
    while (flags.size() < count && at < g.size()) {
        const unsigned flag = Bytes::unsigned_at(g, at++, 1);
        std::size_t repeats = 1;
        if ((flag & kRepeat) != 0) {
            repeats += Bytes::unsigned_at(g, at++, 1);
        }
        for (; repeats > 0 && flags.size() < count; --repeats) {
            flags.push_back(flag);
        }
    }
    if (flags.size() < count) {
        return {};
    }
    auto read_axis = [&](unsigned short_bit, unsigned same_bit, auto store) {
        int value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if ((flags[i] & short_bit) != 0) {
                const int step = static_cast<int>(Bytes::unsigned_at(g, at++, 1));
                value += (flags[i] & same_bit) != 0 ? step : -step;
            } else if ((flags[i] & same_bit) == 0) {
                value += Bytes::s16(g, at);
                at += 2;
            }
            store(points[i], static_cast<float>(value));
        }
    };
    read_axis(kShortX, kSameOrPositiveX, [](Point& p, float v) { p.x = v; });
    read_axis(kShortY, kSameOrPositiveY, [](Point& p, float v) { p.y = v; });
    for (std::size_t i = 0; i < count; ++i) {
        points[i].on_curve = (flags[i] & kOnCurve) != 0;
    }
    return points;
}

std::vector<TrueTypeGlyphs::Point> TrueTypeGlyphs::composite_points(std::string_view g,
                                                                    int depth) const {
    std::vector<Point> all;
    each_component(g, [&](const Component& c) {
        std::vector<Point> part = points(c.glyph, depth + 1);
        const bool moves = (c.flags & kXyValues) != 0;
        const bool identity =
            c.matrix[0] == 1 && c.matrix[1] == 0 && c.matrix[2] == 0 && c.matrix[3] == 1;
        const auto dx = static_cast<float>(moves ? c.argument1 : 0);
        const auto dy = static_cast<float>(moves ? c.argument2 : 0);
        if (dx != 0 || dy != 0 || !identity) {
            if ((c.flags & (kScaledOffset | kUnscaledOffset)) == kScaledOffset) {
                translate(part, dx, dy);
                transform(part, c.matrix);
            } else {
                transform(part, c.matrix);
                translate(part, dx, dy);
            }
        }
        // Placed by matching a point of the glyph so far with one of its own.
        if (!moves) {
            const auto mine = static_cast<std::size_t>(c.argument1);
            const auto its = static_cast<std::size_t>(c.argument2);
            if (mine < all.size() && its < part.size()) {
                translate(part, all[mine].x - part[its].x, all[mine].y - part[its].y);
            }
        }
        all.insert(all.end(), part.begin(), part.end());
    });
    return all;
}

std::vector<OutlineStep> TrueTypeGlyphs::outline(std::uint32_t id) const {
    return outline_of(points(id));
}

} // namespace kvalon
