#include "engine/escp/escp_graphic.h"

#include <algorithm>

namespace kvalon {

namespace {

constexpr int kBitsPerByte = 8;
constexpr unsigned char kTopBit = 0x80;
constexpr unsigned kFirst24DotMode = 32;
constexpr unsigned kFirst48DotMode = 64;
constexpr std::int64_t kUnitsPerInch = kEscpUnitsPerInch;

// Dots to the inch across, by ESC * density; a density the table does not
// know prints as the first of its kind.
std::int64_t dots_per_inch(unsigned mode) {
    constexpr std::int64_t kEightDot[] = {60, 120, 120, 240, 80, 72, 90, 144};
    if (mode < std::size(kEightDot)) {
        return kEightDot[mode];
    }
    switch (mode) {
    case 32:
        return 60;
    case 33:
        return 120;
    case 38:
        return 90;
    case 39:
    case 71:
        return 180;
    case 40:
    case 72:
    case 73:
        return 360;
    default:
        return mode < kFirst24DotMode ? 60 : (mode < kFirst48DotMode ? 180 : 360);
    }
}

std::int64_t row_pitch_of(unsigned mode) {
    if (mode < kFirst24DotMode) {
        return kUnitsPerInch / 60;
    }
    return mode < kFirst48DotMode ? kUnitsPerInch / 180 : kUnitsPerInch / 360;
}

int rows_of(unsigned mode) {
    return static_cast<int>(escp_bytes_per_column(mode)) * kBitsPerByte;
}

// ESC . gives its densities in 1/3600 inch; 0 would put every dot on one spot.
std::int64_t raster_pitch(unsigned value) {
    return value > 0 ? value : kUnitsPerInch / 360;
}

} // namespace

void EscpGraphic::start(const EscpCommand& command, unsigned mode, const EscpState& state) {
    m_dots = EscpDots{};
    m_dots.x = state.x;
    m_dots.y = state.y;
    m_received = 0;
    m_nine_dot = command.code == '^';
    int rows = 0;
    if (command.code == '.') {
        m_bytes_per_column = 0;
        m_dots.row_pitch = raster_pitch(command.parameter(1));
        m_dots.column_pitch = raster_pitch(command.parameter(2));
        rows = static_cast<int>(command.parameter(3));
        m_declared_columns = command.word_at(4);
    } else {
        const bool assigned = command.code != '*' && command.code != '^';
        const unsigned density = assigned ? mode : command.parameter(0);
        m_declared_columns = assigned ? command.word_at(0) : command.word_at(1);
        m_dots.column_pitch = kUnitsPerInch / dots_per_inch(m_nine_dot ? density % 8 : density);
        m_bytes_per_column = m_nine_dot ? 2 : escp_bytes_per_column(density);
        m_dots.row_pitch = m_nine_dot ? kUnitsPerInch / 72 : row_pitch_of(density);
        rows = m_nine_dot ? 9 : rows_of(density);
    }
    const std::int64_t room = std::max<std::int64_t>(state.right_margin - state.x, 0);
    const std::int64_t shown = std::min(m_declared_columns, room / m_dots.column_pitch);
    m_dots.image = BitImage(static_cast<int>(shown), rows);
}

void EscpGraphic::add(unsigned char byte) {
    if (m_bytes_per_column > 0) {
        add_column_byte(byte);
    } else {
        add_row_byte(byte);
    }
    ++m_received;
}

void EscpGraphic::add_column_byte(unsigned char byte) {
    const auto column = static_cast<int>(m_received / m_bytes_per_column);
    const auto part = static_cast<int>(m_received % m_bytes_per_column);
    // The second byte of a 9-pin column carries the ninth dot in its top bit.
    const int bits = m_nine_dot && part == 1 ? 1 : kBitsPerByte;
    for (int bit = 0; bit < bits; ++bit) {
        if ((byte & (kTopBit >> bit)) != 0) {
            m_dots.image.set(column, part * kBitsPerByte + bit);
        }
    }
}

void EscpGraphic::add_row_byte(unsigned char byte) {
    const std::uint64_t stride =
        static_cast<std::uint64_t>((m_declared_columns + kBitsPerByte - 1) / kBitsPerByte);
    const auto row = static_cast<int>(m_received / stride);
    const auto first = static_cast<int>(m_received % stride) * kBitsPerByte;
    for (int bit = 0; bit < kBitsPerByte; ++bit) {
        if ((byte & (kTopBit >> bit)) != 0) {
            m_dots.image.set(first + bit, row);
        }
    }
}

EscpDots EscpGraphic::finish() {
    BitImage& image = m_dots.image;
    if (m_bytes_per_column > 0) {
        const std::uint64_t columns = (m_received + m_bytes_per_column - 1) / m_bytes_per_column;
        image.crop(static_cast<int>(std::min<std::uint64_t>(columns, 1u << 16)), image.rows());
    } else {
        const std::uint64_t stride =
            static_cast<std::uint64_t>((m_declared_columns + kBitsPerByte - 1) / kBitsPerByte);
        const std::uint64_t rows = stride > 0 ? (m_received + stride - 1) / stride : 0;
        image.crop(image.columns(), static_cast<int>(std::min<std::uint64_t>(rows, 1u << 16)));
    }
    return std::move(m_dots);
}

} // namespace kvalon
