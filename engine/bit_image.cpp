#include "engine/bit_image.h"

#include <algorithm>

namespace kvalon {

namespace {
constexpr int kBitsPerByte = 8;
constexpr std::uint8_t kLeftmost = 0x80;

std::size_t stride_for(int columns) {
    return static_cast<std::size_t>((columns + kBitsPerByte - 1) / kBitsPerByte);
}
} // namespace

BitImage::BitImage(int columns, int rows)
    : m_columns(std::max(columns, 0)), m_rows(std::max(rows, 0)), m_stride(stride_for(m_columns)),
      m_bits(m_stride * static_cast<std::size_t>(m_rows), 0) {}

void BitImage::set(int column, int row) {
    if (column < 0 || row < 0 || column >= m_columns || row >= m_rows) {
        return;
    }
    m_bits[static_cast<std::size_t>(row) * m_stride +
           static_cast<std::size_t>(column / kBitsPerByte)] |=
        static_cast<std::uint8_t>(kLeftmost >> (column % kBitsPerByte));
}

bool BitImage::dot(int column, int row) const {
    if (column < 0 || row < 0 || column >= m_columns || row >= m_rows) {
        return false;
    }
    return (m_bits[static_cast<std::size_t>(row) * m_stride +
                   static_cast<std::size_t>(column / kBitsPerByte)] &
            (kLeftmost >> (column % kBitsPerByte))) != 0;
}

bool BitImage::any_dot() const {
    return std::any_of(m_bits.begin(), m_bits.end(), [](std::uint8_t byte) { return byte != 0; });
}

void BitImage::crop(int columns, int rows) {
    columns = std::clamp(columns, 0, m_columns);
    rows = std::clamp(rows, 0, m_rows);
    if (columns == m_columns && rows == m_rows) {
        return;
    }
    BitImage kept(columns, rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (dot(column, row)) {
                kept.set(column, row);
            }
        }
    }
    *this = std::move(kept);
}

const std::uint8_t* BitImage::row_bits(int row) const {
    return m_bits.data() + static_cast<std::size_t>(row) * m_stride;
}

std::uint8_t* BitImage::row_bits(int row) {
    return m_bits.data() + static_cast<std::size_t>(row) * m_stride;
}

void BitImage::append_rows(const BitImage& below) {
    // Rows of the same width are added in place: a picture built row by row
    // (raster graphics) costs its size, not its size times its rows.
    if (below.m_columns == m_columns) {
        m_bits.insert(m_bits.end(), below.m_bits.begin(), below.m_bits.end());
        m_rows += below.m_rows;
        return;
    }
    BitImage joined(std::max(m_columns, below.m_columns), m_rows + below.m_rows);
    for (int row = 0; row < m_rows; ++row) {
        std::copy_n(row_bits(row), m_stride, joined.row_bits(row));
    }
    for (int row = 0; row < below.m_rows; ++row) {
        std::copy_n(below.row_bits(row), below.m_stride, joined.row_bits(m_rows + row));
    }
    *this = std::move(joined);
}

} // namespace kvalon
