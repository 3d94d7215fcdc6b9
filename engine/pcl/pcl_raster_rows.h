#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kvalon {

// Decodes one row of PCL raster data sent in compression `mode` into `row`,
// which holds the row before it (the seed row) and afterwards this one,
// at most `most_bytes` long:
//   0 unencoded; 1 run-length (count less one, byte); 2 TIFF PackBits;
//   3 delta row (the bytes that differ from the seed row, each command byte
//     a count less one in its top three bits and an offset in its low five,
//     31 continued by offset bytes until one is not 255).
// An unknown mode gives a blank row. Data cut short decodes as far as it goes.
void decode_pcl_row(int mode, std::span<const std::uint8_t> data, std::size_t most_bytes,
                    std::vector<std::uint8_t>& row);

} // namespace kvalon
