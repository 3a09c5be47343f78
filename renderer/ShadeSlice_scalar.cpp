// The portable path: one pixel at a time in 32-bit integers, the shade looked
// up in a table of ShadeValue. The only path on processors other than x86-64.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "Lattice.h"
#include "SliceTiles.h"

namespace mosaika {

namespace {

// ShadeValue for every gap d2 - d1 up to 1024; a larger gap shades as 1024 does.
const std::array<std::uint8_t, kCellUnits + 1> kShades = [] {
    std::array<std::uint8_t, kCellUnits + 1> table{};
    for (std::int32_t gap = 0; gap <= kCellUnits; ++gap) table[static_cast<std::size_t>(gap)] = ShadeValue(0, gap);
    return table;
}();

// The shade of a pixel from its two smallest squared sums. Dividing each by
// 1024 first keeps the remainders out of the gap, as the distances do.
std::uint8_t Shade(std::int32_t nearest, std::int32_t second) {
    const std::int32_t gap = second / kCellUnits - nearest / kCellUnits;
    return kShades[static_cast<std::size_t>(std::min(gap, kCellUnits))];
}

// The two smallest values seen, a repeated smallest value counting twice.
struct TwoSmallest {
    std::int32_t first = std::numeric_limits<std::int32_t>::max();
    std::int32_t second = std::numeric_limits<std::int32_t>::max();

    void Take(std::int32_t value) {
        second = std::min(second, std::max(first, value));
        first = std::min(first, value);
    }
};

// Each pixel's squared sum to a survivor as u (u + 2 dx) + rowSum (ShadeKernel.h).
void ShadeTile(const SliceTile& tile, std::uint8_t* frame, int width) {
    std::array<std::int32_t, kMaxTilePoints> rowSum{};
    const auto count = static_cast<std::size_t>(tile.count);
    for (int row = 0; row < tile.rows; ++row) {
        const std::int32_t v = tile.rowY[row] - tile.originY;
        for (std::size_t c = 0; c < count; ++c) rowSum[c] = tile.corner[c] + v * (v + 2 * tile.dy[c]);
        std::uint8_t* line = frame + static_cast<std::ptrdiff_t>(tile.firstRow + row) * width + tile.firstColumn;
        for (int lane = 0; lane < tile.columns; ++lane) {
            const std::int32_t u = tile.columnX[lane] - tile.originX;
            // Every lane's points, then those of its own side only.
            const bool leftLane = lane < tile.splitLane;
            const auto sideBegin = static_cast<std::size_t>(leftLane ? tile.everywhere : tile.leftEnd);
            const auto sideEnd = static_cast<std::size_t>(leftLane ? tile.leftEnd : tile.count);
            TwoSmallest sums;
            for (std::size_t c = 0; c < static_cast<std::size_t>(tile.everywhere); ++c) {
                sums.Take(u * (u + 2 * tile.dx[c]) + rowSum[c]);
            }
            for (std::size_t c = sideBegin; c < sideEnd; ++c) sums.Take(u * (u + 2 * tile.dx[c]) + rowSum[c]);
            line[lane] = Shade(sums.first, sums.second);
        }
    }
}

}  // namespace

void ShadeColumnScalar(const BandColumn& column, std::uint8_t* frame, int width) {
    ShadeColumnPortably(column, ShadeTile, frame, width);
}

}  // namespace mosaika
