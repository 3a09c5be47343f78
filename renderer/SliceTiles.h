// How a slice is cut up for shading, and what each shading path is handed.
//
// The frame is cut into bands, the rows of one cell row, and each band into
// columns 16 pixels wide: a band column. Every pixel of a cell searches the
// same 27 points (3 x 3 cells, layers 0 to 2), so a band column searches at
// most 36: its 16 columns can reach into a second cell column, whose lanes
// then search one cell column further right. A path shades a band column in
// tiles of a few rows (chunks), each with its own short list of points.
//
// Pruning. A point is dropped from a box of pixels when even its nearest
// possible squared sum in the box (the box's nearest column and row, its own
// depth) is larger than the second smallest of the farthest possible squared
// sums of the points every lane searches. Two other points are then nearer
// at every pixel of the box, so the two smallest sums of each pixel are the
// same with or without it, equal sums included. Four or five points of the
// 27 or 36 remain on average for a tile of 16 x 12 pixels.
//
// A tile's survivors are given relative to its first pixel, the origin
// (originX, originY): dx = originX - x, dy = originY - y, and corner, the
// squared sum at the origin. With u = px - originX and v = py - originY a
// pixel's squared sum is then (u + dx)^2 + (v + dy)^2 + dz^2.
//
// This header is shared by translation units built for different instruction
// sets, so it holds plain data and declarations only: an inline function here
// could be emitted once with AVX-512 instructions and then be called from the
// portable path.
#pragma once

#include <cstdint>

namespace mosaika {

constexpr int kTileColumns = 16;
constexpr int kMaxTilePoints = 3 * 4 * 3;  // 3 cell rows, up to 4 cell columns, layers 0 to 2
// A band is at most one cell of 50 pixel rows tall, and no chunk of a band
// column taller than kMaxChunkRows.
constexpr int kMaxBandRows = 50;
constexpr int kMaxChunkRows = 16;
// Arrays of points are padded so a 16-lane vector may be stored past the last point.
constexpr int kPointSlots = kMaxTilePoints + kTileColumns;

// Up to 16 columns of one band and the points their lanes search, in three
// runs: [0, everywhere) searched by every lane, up to leftEnd only by the lanes
// before splitLane, up to count only by the lanes from splitLane on.
struct BandColumn {
    // Lanes from `columns` to kTileColumns - 1 lie past the frame's right edge:
    // they are computed and never stored.
    int firstColumn;
    int columns;
    int firstRow;
    int rows;
    // Pixel coordinates of the columns (kTileColumns readable) and of the rows.
    const std::int32_t* columnX;
    const std::int32_t* rowY;
    // Lanes from splitLane on lie in the next cell column (kTileColumns when none does).
    int splitLane;
    int count;
    int everywhere;
    int leftEnd;
    std::int32_t x[kPointSlots];
    std::int32_t y[kPointSlots];
    std::int32_t dzSquared[kPointSlots];  // (zs - z)^2
};

// A chunk of a band column with the points that survived pruning for it.
struct SliceTile {
    int firstColumn;
    int columns;
    int firstRow;
    int rows;
    const std::int32_t* columnX;
    const std::int32_t* rowY;
    std::int32_t originX;
    std::int32_t originY;
    int splitLane;
    int count;
    int everywhere;
    int leftEnd;
    std::int32_t dx[kPointSlots];
    std::int32_t dy[kPointSlots];
    std::int32_t corner[kPointSlots];
};

// Chunks of nearly equal height, none taller than maxRows, for a band of the given height.
int ChunkCount(int bandRows, int maxRows);
// The geometry of chunk `chunk` of `chunks` (everything but the points).
void ChunkGeometry(const BandColumn& column, int chunk, int chunks, SliceTile& tile);

// Shades one planned tile into frame (row length width).
using TileShader = void (*)(const SliceTile& tile, std::uint8_t* frame, int width);
// Plans and shades a whole band column.
using ColumnShader = void (*)(const BandColumn& column, std::uint8_t* frame, int width);

// Prunes a band column in plain integers, once for the band and once per
// chunk, and hands each tile to shade.
void ShadeColumnPortably(const BandColumn& column, TileShader shade, std::uint8_t* frame, int width);

void ShadeColumnScalar(const BandColumn& column, std::uint8_t* frame, int width);

#if defined(MOSAIKA_X86_PATHS)
void ShadeColumnSse2(const BandColumn& column, std::uint8_t* frame, int width);
void ShadeColumnAvx2(const BandColumn& column, std::uint8_t* frame, int width);
void ShadeColumnAvx512(const BandColumn& column, std::uint8_t* frame, int width);
#endif

}  // namespace mosaika
