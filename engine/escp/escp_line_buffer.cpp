#include "engine/escp/escp_line_buffer.h"

#include <utility>

namespace kvalon {

namespace {

// A line of 136 columns struck over eight times, or a band of pictures a
// carriage wide at 360 dots to the inch, 48 dots high, a few times over.
constexpr std::size_t kMostHeldPlacings = 2048;
constexpr std::size_t kMostHeldDotBytes = std::size_t{1} << 20;

} // namespace

void EscpLineBuffer::hold(const EscpGlyph& glyph) {
    m_held.emplace_back(glyph);
}

void EscpLineBuffer::hold(EscpDots dots) {
    m_dot_bytes += dots.image.bits().size();
    m_held.emplace_back(std::move(dots));
}

bool EscpLineBuffer::full() const {
    return m_held.size() >= kMostHeldPlacings || m_dot_bytes >= kMostHeldDotBytes;
}

bool EscpLineBuffer::print_to(EscpOutput& output) {
    bool marked = false;
    for (const auto& placed : m_held) {
        if (const auto* glyph = std::get_if<EscpGlyph>(&placed)) {
            marked = marked || glyph->visible();
            output.glyph(*glyph);
        } else {
            marked = true;
            output.dots(std::get<EscpDots>(placed));
        }
    }
    drop();
    return marked;
}

void EscpLineBuffer::drop() {
    m_held.clear();
    m_dot_bytes = 0;
}

} // namespace kvalon
