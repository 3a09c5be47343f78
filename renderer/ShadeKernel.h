// The vector shading of a planned tile, written once for every lane width.
//
// A path supplies a Lanes type (defined in an unnamed namespace of its own
// translation unit, so every instantiation below stays private to that unit
// and its instruction set):
//   kWidth                     lanes per vector, dividing kTileColumns
//   Float                      kWidth floats
//   Load(p), Store(p, a)       unaligned
//   Set(x)                     broadcast
//   MulAdd(a, b, c)            a * b + c, fused or not
//   Add, Sub, Min, Max
//   FromInts(p)                kWidth integers below 2^24 as floats (unaligned)
//   StoreShades(out, n, s)     kWidth shades from the two smallest squared sums
//
// With u = px - originX and v = py - originY, a pixel's squared sum to a
// survivor (dx, dy, corner as in SliceTiles.h) is
//   (u + dx)^2 + (v + dy)^2 + dz^2 = u (u + 2 dx) + rowSum,
//   rowSum = corner + v (v + 2 dy),
// the sum at the tile's first column in that row: one multiply-add per pixel
// and point, with u + 2 dx prepared per tile and rowSum per row.
//
// Why floats give the integers' answer: a pixel and a point it searches are
// at most 2048 units apart on each axis (zs 1024..2047, points inside their
// bands), so a squared sum is an integer below 3 x 2048^2 < 2^24. A point of
// the tile's other cell column is at most 2356 from the tile's first column,
// and u and v stay below 1100, so every term formed below (u + 2 dx, its
// product with u, v + 2 dy, its product with v, rowSum, the sum itself) is an
// integer below 2^24 in magnitude as well. A float holds all such integers, so
// every product and sum is exact, fused or not, and min and max are exact
// anyway. The two smallest sums are then truncated to integers, divided by
// 1024 and subtracted: d2 - d1 exactly as the integer search finds it.
// StoreShades turns that gap into round(sqrt(gap) x 255 / 32), a saturating
// narrowing to bytes doing the clamp at 255; the shading test runs every gap
// through each path against the exactly rounded shade, which is what makes this
// float shortcut safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "SliceTiles.h"

namespace mosaika {

// Added to a sum on the lanes that do not search its point: larger than any sum.
constexpr float kFar = 0x1p30f;

// The bias for each lane, read from kTileColumns - splitLane on: far on the
// lanes before splitLane, or on those from it.
constexpr float kHideFromLeft[2 * kTileColumns] = {kFar, kFar, kFar, kFar, kFar, kFar, kFar, kFar,
                                                   kFar, kFar, kFar, kFar, kFar, kFar, kFar, kFar};
constexpr float kHideFromRight[2 * kTileColumns] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                    kFar, kFar, kFar, kFar, kFar, kFar, kFar, kFar,
                                                    kFar, kFar, kFar, kFar, kFar, kFar, kFar, kFar};

// Takes a value into the two smallest so far; a repeated smallest value counts twice.
template <class Lanes>
[[gnu::always_inline]] inline void TakeSmallest(typename Lanes::Float& first, typename Lanes::Float& second,
                                                typename Lanes::Float value) {
    second = Lanes::Min(second, Lanes::Max(first, value));
    first = Lanes::Min(first, value);
}

// What a tile's rows share: the lanes and the points, ready for the rows.
template <class Lanes>
struct TileLanes {
    static constexpr int kVectors = kTileColumns / Lanes::kWidth;
    typename Lanes::Float u[kVectors];
    // Biases that hide a point of one side from the other side's lanes.
    typename Lanes::Float hideFromRight[kVectors];
    typename Lanes::Float hideFromLeft[kVectors];
    float spread[kMaxTilePoints][kTileColumns];  // u + 2 dx, per point and lane
    float rise[kPointSlots];                     // 2 dy
    float corner[kPointSlots];
};

// The two smallest sums of each pixel of a tile, row by row.
struct RowSums {
    float nearest[kMaxChunkRows][kTileColumns];
    float second[kMaxChunkRows][kTileColumns];
};

// Finds the two smallest sums of each pixel of kRows rows of the tile from
// `row` on, their chains of minima side by side.
template <class Lanes, int kRows>
[[gnu::always_inline]] inline void SumRows(const SliceTile& tile, const TileLanes<Lanes>& lanes, int row,
                                           RowSums& sums) {
    using Float = typename Lanes::Float;
    constexpr int kWidth = Lanes::kWidth;
    constexpr int kVectors = TileLanes<Lanes>::kVectors;

    float rowSum[kRows][kPointSlots];
    Float nearest[kRows][kVectors];
    Float second[kRows][kVectors];
    for (int r = 0; r < kRows; ++r) {
        const Float v = Lanes::Set(static_cast<float>(tile.rowY[row + r] - tile.originY));
        for (int c = 0; c < tile.count; c += kWidth) {
            const Float sum = Lanes::MulAdd(v, Lanes::Add(Lanes::Load(lanes.rise + c), v), Lanes::Load(lanes.corner + c));
            Lanes::Store(rowSum[r] + c, sum);
        }
        for (int i = 0; i < kVectors; ++i) nearest[r][i] = second[r][i] = Lanes::Set(kFar);
    }
    int c = 0;
    for (; c < tile.everywhere; ++c) {
        for (int i = 0; i < kVectors; ++i) {
            const Float spread = Lanes::Load(lanes.spread[c] + i * kWidth);
            for (int r = 0; r < kRows; ++r) {
                const Float s = Lanes::MulAdd(lanes.u[i], spread, Lanes::Set(rowSum[r][c]));
                TakeSmallest<Lanes>(nearest[r][i], second[r][i], s);
            }
        }
    }
    for (; c < tile.count; ++c) {
        const Float* hidden = c < tile.leftEnd ? lanes.hideFromRight : lanes.hideFromLeft;
        for (int i = 0; i < kVectors; ++i) {
            const Float spread = Lanes::Load(lanes.spread[c] + i * kWidth);
            for (int r = 0; r < kRows; ++r) {
                const Float s = Lanes::MulAdd(lanes.u[i], spread, Lanes::Set(rowSum[r][c]));
                TakeSmallest<Lanes>(nearest[r][i], second[r][i], Lanes::Add(s, hidden[i]));
            }
        }
    }
    for (int r = 0; r < kRows; ++r) {
        for (int i = 0; i < kVectors; ++i) {
            Lanes::Store(sums.nearest[row + r] + i * kWidth, nearest[r][i]);
            Lanes::Store(sums.second[row + r] + i * kWidth, second[r][i]);
        }
    }
}

template <class Lanes>
void ShadeTileWithLanes(const SliceTile& tile, std::uint8_t* frame, int width) {
    using Float = typename Lanes::Float;
    constexpr int kWidth = Lanes::kWidth;
    constexpr int kVectors = TileLanes<Lanes>::kVectors;
    static_assert(kTileColumns % kWidth == 0 && kPointSlots >= kMaxTilePoints + kWidth - 1);

    TileLanes<Lanes> lanes;
    const Float originX = Lanes::Set(static_cast<float>(tile.originX));
    const int hide = kTileColumns - tile.splitLane;
    for (int i = 0; i < kVectors; ++i) {
        lanes.u[i] = Lanes::Sub(Lanes::FromInts(tile.columnX + i * kWidth), originX);
        lanes.hideFromRight[i] = Lanes::Load(kHideFromRight + hide + i * kWidth);
        lanes.hideFromLeft[i] = Lanes::Load(kHideFromLeft + hide + i * kWidth);
    }
    for (int c = 0; c < tile.count; ++c) {
        const Float twiceDx = Lanes::Set(static_cast<float>(2 * tile.dx[c]));
        for (int i = 0; i < kVectors; ++i) Lanes::Store(lanes.spread[c] + i * kWidth, Lanes::Add(lanes.u[i], twiceDx));
    }
    for (int c = 0; c < tile.count; c += kWidth) {
        const Float dy = Lanes::FromInts(tile.dy + c);
        Lanes::Store(lanes.rise + c, Lanes::Add(dy, dy));
        Lanes::Store(lanes.corner + c, Lanes::FromInts(tile.corner + c));
    }

    // The sums of every row first, then the shades: two loops of short,
    // independent steps keep more of them in flight than one loop of long
    // ones. Each chain of minima waits on the one before it, so rows are
    // summed a few at a time: four vectors' chains side by side.
    RowSums sums;
    constexpr int kRowsAtOnce = 4 / kVectors;
    int summed = 0;
    for (; summed + kRowsAtOnce <= tile.rows; summed += kRowsAtOnce) {
        SumRows<Lanes, kRowsAtOnce>(tile, lanes, summed, sums);
    }
    for (; summed < tile.rows; ++summed) SumRows<Lanes, 1>(tile, lanes, summed, sums);
    for (int row = 0; row < tile.rows; ++row) {
        // A tile cut by the frame's right edge is shaded into a spare row first.
        std::uint8_t* line = frame + static_cast<std::ptrdiff_t>(tile.firstRow + row) * width + tile.firstColumn;
        std::uint8_t spare[kTileColumns];
        std::uint8_t* out = tile.columns == kTileColumns ? line : spare;
        for (int i = 0; i < kVectors; ++i) {
            Lanes::StoreShades(out + i * kWidth, Lanes::Load(sums.nearest[row] + i * kWidth),
                               Lanes::Load(sums.second[row] + i * kWidth));
        }
        if (out == spare) std::memcpy(line, spare, static_cast<std::size_t>(tile.columns));
    }
}

}  // namespace mosaika
