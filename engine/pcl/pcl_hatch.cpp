#include "engine/pcl/pcl_hatch.h"

#include "engine/pcl/pcl_state.h"

namespace kvalon {

namespace {

constexpr std::int64_t kTile = 16;
constexpr std::int64_t kThickness = 2;

bool on_line(std::int64_t along) {
    const std::int64_t place = ((along % kTile) + kTile) % kTile;
    return place < kThickness;
}

bool hatch_dot(int pattern, std::int64_t column, std::int64_t row) {
    switch (pattern) {
    case 1:
        return on_line(row);
    case 2:
        return on_line(column);
    case 3:
        return on_line(column + row);
    case 4:
        return on_line(column - row);
    case 5:
        return on_line(row) || on_line(column);
    case 6:
        return on_line(column + row) || on_line(column - row);
    default:
        return false;
    }
}

std::int64_t dot_below(std::int64_t units) {
    return units >= 0 ? units / kPclUnitsPerDot
                      : -((-units + kPclUnitsPerDot - 1) / kPclUnitsPerDot);
}

} // namespace

PclHatch pcl_hatch(int pattern, std::int64_t x, std::int64_t y, std::int64_t width,
                   std::int64_t height) {
    const std::int64_t left = dot_below(x);
    const std::int64_t top = dot_below(y);
    const std::int64_t right = -dot_below(-(x + width));
    const std::int64_t bottom = -dot_below(-(y + height));
    PclHatch hatch{left * kPclUnitsPerDot, top * kPclUnitsPerDot, kPclUnitsPerDot, {}};
    if (right <= left || bottom <= top) {
        return hatch;
    }
    hatch.image = BitImage(static_cast<int>(right - left), static_cast<int>(bottom - top));
    for (std::int64_t row = top; row < bottom; ++row) {
        for (std::int64_t column = left; column < right; ++column) {
            if (hatch_dot(pattern, column, row)) {
                hatch.image.set(static_cast<int>(column - left), static_cast<int>(row - top));
            }
        }
    }
    return hatch;
}

} // namespace kvalon
