#include "engine/pcl/pcl_raster_rows.h"

#include <algorithm>

namespace kvalon {

namespace {

class RowWriter {
public:
    RowWriter(std::vector<std::uint8_t>& row, std::size_t most) : m_row(row), m_most(most) {}
    void put(std::uint8_t byte) {
        if (m_at < m_most) {
            if (m_at >= m_row.size()) {
                m_row.resize(m_at + 1, 0);
            }
            m_row[m_at] = byte;
        }
        ++m_at;
    }
    void skip(std::size_t count) { m_at += count; }
    bool full() const { return m_at >= m_most; }

private:
    std::vector<std::uint8_t>& m_row;
    std::size_t m_most;
    std::size_t m_at = 0;
};

void run_length(std::span<const std::uint8_t> data, RowWriter& out) {
    for (std::size_t i = 0; i + 1 < data.size() && !out.full(); i += 2) {
        for (unsigned n = 0; n <= data[i] && !out.full(); ++n) {
            out.put(data[i + 1]);
        }
    }
}

void pack_bits(std::span<const std::uint8_t> data, RowWriter& out) {
    std::size_t i = 0;
    while (i < data.size() && !out.full()) {
        const int control = static_cast<std::int8_t>(data[i++]);
        if (control >= 0) {
            for (int n = 0; n <= control && i < data.size(); ++n) {
                out.put(data[i++]);
            }
        } else if (control != -128 && i < data.size()) {
            for (int n = 0; n <= -control && !out.full(); ++n) {
                out.put(data[i]);
            }
            ++i;
        }
    }
}

void delta_row(std::span<const std::uint8_t> data, RowWriter& out) {
    std::size_t i = 0;
    while (i < data.size() && !out.full()) {
        const std::uint8_t command = data[i++];
        const unsigned count = (command >> 5) + 1u;
        std::size_t offset = command & 0x1Fu;
        if (offset == 0x1F) {
            std::uint8_t more = 0xFF;
            while (more == 0xFF && i < data.size()) {
                more = data[i++];
                offset += more;
            }
        }
        out.skip(offset);
        for (unsigned n = 0; n < count && i < data.size(); ++n) {
            out.put(data[i++]);
        }
    }
}

} // namespace

void decode_pcl_row(int mode, std::span<const std::uint8_t> data, std::size_t most_bytes,
                    std::vector<std::uint8_t>& row) {
    if (mode != 3) {
        row.clear();
    }
    RowWriter out(row, most_bytes);
    switch (mode) {
    case 0:
        for (std::size_t i = 0; i < data.size() && !out.full(); ++i) {
            out.put(data[i]);
        }
        break;
    case 1:
        run_length(data, out);
        break;
    case 2:
        pack_bits(data, out);
        break;
    case 3:
        delta_row(data, out);
        break;
    default:
        break;
    }
    if (row.size() > most_bytes) {
        row.resize(most_bytes);
    }
}

} // namespace kvalon
