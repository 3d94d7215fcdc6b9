#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvalon {

// A picture of dots, each black or not: rows from the top, each packed into
// bytes with the leftmost dot in the highest bit, as PDF image masks and
// one-bit images keep them.
class BitImage {
public:
    BitImage() = default;
    BitImage(int columns, int rows);

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    std::size_t stride() const { return m_stride; }
    const std::vector<std::uint8_t>& bits() const { return m_bits; }
    const std::uint8_t* row_bits(int row) const;

    void set(int column, int row);
    bool dot(int column, int row) const;
    bool any_dot() const;
    // Keeps the first `columns` columns and `rows` rows.
    void crop(int columns, int rows);
    // Adds the rows of `below` under these; the wider of the two sets the width.
    void append_rows(const BitImage& below);
    bool operator==(const BitImage&) const = default;

private:
    std::uint8_t* row_bits(int row);

    int m_columns = 0;
    int m_rows = 0;
    std::size_t m_stride = 0;
    std::vector<std::uint8_t> m_bits;
};

} // namespace kvalon
