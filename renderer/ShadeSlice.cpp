// ShadeSlice: cuts the frame into band columns (SliceTiles.h), gathers the
// points each one searches and hands it to the path the processor was found
// to run best. Also the pruning in plain integers that the portable, SSE2 and
// AVX2 paths share, and the choice of path.
#include "ShadeSlice.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "Lattice.h"
#include "Palette.h"
#include "SliceTiles.h"

namespace mosaika {

namespace {

// Round((i / 50 + 3) x 1024) = Round((76800 + 512 i) / 25); the remainder is
// never half of 25, so adding 12 before the division rounds correctly.
constexpr std::int32_t Coordinate(int i) { return (76800 + 512 * i + 12) / 25; }

// Pixel coordinates of columns and rows alike, readable a whole tile past the
// widest frame so every lane of a tile has one.
constexpr std::size_t kCoordinateCount = std::size_t{kMaxFrameWidth} + kTileColumns;
constexpr std::array<std::int32_t, kCoordinateCount> kCoordinates = [] {
    std::array<std::int32_t, kCoordinateCount> table{};
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = Coordinate(static_cast<int>(i));
    return table;
}();
static_assert(kMaxFrameHeight <= kMaxFrameWidth);

// Squared distances from a value to the nearest and to the farthest point of lo..hi.
struct SquaredSpan {
    std::int32_t nearest;
    std::int32_t farthest;
};

SquaredSpan SpanOf(std::int32_t value, std::int32_t lo, std::int32_t hi) {
    const std::int32_t nearest = std::max({lo - value, value - hi, 0});
    const std::int32_t farthest = std::max(value - lo, hi - value);
    return {nearest * nearest, farthest * farthest};
}

// The second smallest of values[0..count), count >= 2; an equal pair counts twice.
std::int32_t SecondSmallest(const std::int32_t* values, int count) {
    std::int32_t first = std::numeric_limits<std::int32_t>::max();
    std::int32_t second = first;
    for (int i = 0; i < count; ++i) {
        second = std::min(second, std::max(first, values[i]));
        first = std::min(first, values[i]);
    }
    return second;
}

// The points a band column keeps for the whole band, with the parts of their
// squared sums that depend on the column only.
struct BandPoints {
    int count;
    int everywhere;
    int leftEnd;
    std::array<std::int32_t, kMaxTilePoints> x;
    std::array<std::int32_t, kMaxTilePoints> y;
    std::array<std::int32_t, kMaxTilePoints> dzSquared;
    std::array<std::int32_t, kMaxTilePoints> xNearest;   // to the nearest of the columns, squared
    std::array<std::int32_t, kMaxTilePoints> xFarthest;  // to the farthest, squared
};

// Keeps the points whose nearest sum in the box does not exceed the
// threshold (SliceTiles.h), run by run; keep(i, kept) stores point i as the
// kept-th. Returns the ends of the three runs among the kept points.
template <class Keep>
std::array<int, 3> KeepRuns(const std::array<int, 3>& ends, const std::int32_t* nearest, std::int32_t threshold,
                            Keep keep) {
    std::array<int, 3> keptEnds{};
    int kept = 0;
    int i = 0;
    for (std::size_t run = 0; run < 3; ++run) {
        for (; i < ends[run]; ++i) {
            keep(static_cast<std::size_t>(i), static_cast<std::size_t>(kept));  // overwritten unless kept
            kept += nearest[i] <= threshold ? 1 : 0;
        }
        keptEnds[run] = kept;
    }
    return keptEnds;
}

// First pruning, for the box of the whole band column.
void PruneBand(const BandColumn& column, BandPoints& points) {
    const std::int32_t left = column.columnX[0];
    const std::int32_t right = column.columnX[column.columns - 1];
    const std::int32_t top = column.rowY[0];
    const std::int32_t bottom = column.rowY[column.rows - 1];
    std::array<std::int32_t, kMaxTilePoints> nearest{};
    std::array<std::int32_t, kMaxTilePoints> farthest{};
    std::array<SquaredSpan, kMaxTilePoints> xSpans{};
    for (std::size_t i = 0; i < static_cast<std::size_t>(column.count); ++i) {
        xSpans[i] = SpanOf(column.x[i], left, right);
        const SquaredSpan ySpan = SpanOf(column.y[i], top, bottom);
        nearest[i] = xSpans[i].nearest + ySpan.nearest + column.dzSquared[i];
        farthest[i] = xSpans[i].farthest + ySpan.farthest + column.dzSquared[i];
    }
    const std::int32_t threshold = SecondSmallest(farthest.data(), column.everywhere);
    const auto ends = KeepRuns({column.everywhere, column.leftEnd, column.count}, nearest.data(), threshold,
                               [&](std::size_t i, std::size_t kept) {
                                   points.x[kept] = column.x[i];
                                   points.y[kept] = column.y[i];
                                   points.dzSquared[kept] = column.dzSquared[i];
                                   points.xNearest[kept] = xSpans[i].nearest;
                                   points.xFarthest[kept] = xSpans[i].farthest;
                               });
    points.everywhere = ends[0];
    points.leftEnd = ends[1];
    points.count = ends[2];
}

// Second pruning, for the box of one chunk; hands the survivors to the tile.
void PruneChunk(const BandPoints& points, SliceTile& tile) {
    const std::int32_t top = tile.rowY[0];
    const std::int32_t bottom = tile.rowY[tile.rows - 1];
    std::array<std::int32_t, kMaxTilePoints> nearest{};
    std::array<std::int32_t, kMaxTilePoints> farthest{};
    for (std::size_t i = 0; i < static_cast<std::size_t>(points.count); ++i) {
        const SquaredSpan ySpan = SpanOf(points.y[i], top, bottom);
        nearest[i] = points.xNearest[i] + ySpan.nearest + points.dzSquared[i];
        farthest[i] = points.xFarthest[i] + ySpan.farthest + points.dzSquared[i];
    }
    const std::int32_t threshold = SecondSmallest(farthest.data(), points.everywhere);
    const auto ends = KeepRuns({points.everywhere, points.leftEnd, points.count}, nearest.data(), threshold,
                               [&](std::size_t i, std::size_t kept) {
                                   const std::int32_t dx = tile.originX - points.x[i];
                                   const std::int32_t dy = top - points.y[i];
                                   tile.dx[kept] = dx;
                                   tile.dy[kept] = dy;
                                   tile.corner[kept] = dx * dx + dy * dy + points.dzSquared[i];
                               });
    tile.everywhere = ends[0];
    tile.leftEnd = ends[1];
    tile.count = ends[2];
}

// The portable paths prune chunks of at most this many rows (four to a band).
constexpr int kPortableChunkRows = 13;
static_assert(kPortableChunkRows <= kMaxChunkRows);

// Fills a band column with every point its lanes search.
void GatherBandColumn(const FeatureLattice& lattice, int zs, int cellRow, BandColumn& column) {
    const int leftCell = column.columnX[0] / kCellUnits;
    const int rightCell = column.columnX[column.columns - 1] / kCellUnits;
    assert(rightCell - leftCell <= 1);
    column.splitLane = kTileColumns;
    if (rightCell != leftCell) {
        column.splitLane = 0;
        while (column.columnX[column.splitLane] / kCellUnits == leftCell) ++column.splitLane;
    }
    // Lanes of cell column c search columns c - 1 to c + 1: with two cell
    // columns in the band column, the outermost two are searched by one side only.
    const bool split = rightCell != leftCell;
    const int runs[3][2] = {{split ? leftCell : leftCell - 1, leftCell + 1},
                            {leftCell - 1, split ? leftCell - 1 : leftCell - 2},
                            {rightCell + 1, split ? rightCell + 1 : rightCell}};
    std::size_t count = 0;
    std::array<int, 3> ends{};
    for (std::size_t run = 0; run < 3; ++run) {
        for (int k = cellRow - 1; k <= cellRow + 1; ++k) {
            for (int j = runs[run][0]; j <= runs[run][1]; ++j) {
                for (int l = 0; l < 3; ++l) {
                    const FeaturePoint& p = lattice[PointIndex(j, k, l)];
                    column.x[count] = p.x;
                    column.y[count] = p.y;
                    column.dzSquared[count] = (zs - p.z) * (zs - p.z);
                    ++count;
                }
            }
        }
        ends[run] = static_cast<int>(count);
    }
    column.everywhere = ends[0];
    column.leftEnd = ends[1];
    column.count = ends[2];
}

ColumnShader ShaderOf(ShadePath path) {
    switch (path) {
#if defined(MOSAIKA_X86_PATHS)
        case ShadePath::kSse2:
            return ShadeColumnSse2;
        case ShadePath::kAvx2:
            return ShadeColumnAvx2;
        case ShadePath::kAvx512:
            return ShadeColumnAvx512;
#endif
        default:
            return ShadeColumnScalar;
    }
}

struct PathList {
    std::array<ShadePath, 4> paths{};
    std::size_t count = 0;
};

PathList DetectPaths() {
    PathList list;
    list.paths[list.count++] = ShadePath::kScalar;
#if defined(MOSAIKA_X86_PATHS)
    // Also asks the system whether it saves the wide registers; call it
    // explicitly, as nothing guarantees the start-up code has run it yet.
    __builtin_cpu_init();
    list.paths[list.count++] = ShadePath::kSse2;
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (avx2) list.paths[list.count++] = ShadePath::kAvx2;
    if (avx2 && __builtin_cpu_supports("avx512f")) list.paths[list.count++] = ShadePath::kAvx512;
#endif
    return list;
}

[[maybe_unused]] bool IsSupported(ShadePath path) {
    for (const ShadePath supported : SupportedPaths()) {
        if (supported == path) return true;
    }
    return false;
}

}  // namespace

int ChunkCount(int bandRows, int maxRows) { return (bandRows + maxRows - 1) / maxRows; }

void ChunkGeometry(const BandColumn& column, int chunk, int chunks, SliceTile& tile) {
    tile.firstColumn = column.firstColumn;
    tile.columns = column.columns;
    tile.columnX = column.columnX;
    tile.splitLane = column.splitLane;
    tile.originX = column.columnX[0];
    const int firstRow = column.rows * chunk / chunks;
    tile.firstRow = column.firstRow + firstRow;
    tile.rows = column.rows * (chunk + 1) / chunks - firstRow;
    tile.rowY = column.rowY + firstRow;
    tile.originY = tile.rowY[0];
}

void ShadeColumnPortably(const BandColumn& column, TileShader shade, std::uint8_t* frame, int width) {
    BandPoints points;
    PruneBand(column, points);
    SliceTile tile{};
    const int chunks = ChunkCount(column.rows, kPortableChunkRows);
    for (int chunk = 0; chunk < chunks; ++chunk) {
        ChunkGeometry(column, chunk, chunks, tile);
        PruneChunk(points, tile);
        shade(tile, frame, width);
    }
}

const char* ShadePathName(ShadePath path) {
    switch (path) {
        case ShadePath::kScalar:
            return "scalar";
        case ShadePath::kSse2:
            return "sse2";
        case ShadePath::kAvx2:
            return "avx2";
        case ShadePath::kAvx512:
            return "avx512";
    }
    return "?";
}

std::span<const ShadePath> SupportedPaths() {
    static const PathList list = DetectPaths();
    return {list.paths.data(), list.count};
}

ShadePath ChosenPath() {
    static const ShadePath chosen = SupportedPaths().back();
    return chosen;
}

void ShadeSliceWith(ShadePath path, const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width,
                    int height) {
    assert(IsSupported(path) && "this processor cannot run that path");
    assert(width > 0 && width <= kMaxFrameWidth && height > 0 && height <= kMaxFrameHeight);
    assert(zs >= kCellUnits && zs < 2 * kCellUnits);
    const ColumnShader shade = ShaderOf(path);
    BandColumn column{};
    int bandStart = 0;
    while (bandStart < height) {
        // A band: the rows of one cell row.
        const int cellRow = kCoordinates[static_cast<std::size_t>(bandStart)] / kCellUnits;
        int bandEnd = bandStart;
        while (bandEnd < height && kCoordinates[static_cast<std::size_t>(bandEnd)] / kCellUnits == cellRow) ++bandEnd;
        column.firstRow = bandStart;
        column.rows = bandEnd - bandStart;
        assert(column.rows <= kMaxBandRows);
        column.rowY = &kCoordinates[static_cast<std::size_t>(bandStart)];
        for (int first = 0; first < width; first += kTileColumns) {
            column.firstColumn = first;
            column.columns = std::min(kTileColumns, width - first);
            column.columnX = &kCoordinates[static_cast<std::size_t>(first)];
            GatherBandColumn(lattice, zs, cellRow, column);
            shade(column, frame, width);
        }
        bandStart = bandEnd;
    }
}

void ShadeSlice(const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width, int height) {
    ShadeSliceWith(ChosenPath(), lattice, zs, frame, width, height);
}

}  // namespace mosaika
