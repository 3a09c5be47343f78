// The AVX-512 path: a tile row of sixteen pixels is one vector, and the
// pruning of each chunk (SliceTiles.h) takes sixteen points at a time in one
// step, with no first pass over the whole band. Built with -mavx512f and run
// only where the processor reports AVX-512F (and AVX2).
//
// The pruning works on floats: every squared sum it forms for a point of the
// band column is an integer below 2^24 (the point is at most 2356 units from
// any of its pixels on x, 2048 on y and z), which a float holds exactly. Lanes
// past the column's points hold nonsense and are masked off.

// GCC 12's AVX-512 header starts some intrinsics from a deliberately
// undefined vector, which -Wmaybe-uninitialized reports once they are inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

#include <cassert>
#include <cstdint>
#include <cstring>

#include "ShadeKernel.h"
#include "SliceTiles.h"

namespace mosaika {

namespace {

struct Avx512Lanes {
    static constexpr int kWidth = 16;
    using Float = __m512;

    static Float Load(const float* p) { return _mm512_loadu_ps(p); }
    static void Store(float* p, Float a) { _mm512_storeu_ps(p, a); }
    static Float Set(float value) { return _mm512_set1_ps(value); }
    static Float MulAdd(Float a, Float b, Float c) { return _mm512_fmadd_ps(a, b, c); }
    static Float Add(Float a, Float b) { return _mm512_add_ps(a, b); }
    static Float Sub(Float a, Float b) { return _mm512_sub_ps(a, b); }
    static Float Min(Float a, Float b) { return _mm512_min_ps(a, b); }
    static Float Max(Float a, Float b) { return _mm512_max_ps(a, b); }
    static Float FromInts(const std::int32_t* p) { return _mm512_cvtepi32_ps(_mm512_loadu_si512(p)); }

    static void StoreShades(std::uint8_t* out, Float nearest, Float second) {
        const __m512i gap = _mm512_sub_epi32(_mm512_srli_epi32(_mm512_cvttps_epi32(second), 10),
                                             _mm512_srli_epi32(_mm512_cvttps_epi32(nearest), 10));
        const __m512 gaps = _mm512_cvtepi32_ps(gap);
        // Two 256-bit roots cost less than one 512-bit root.
        const __m256 low = _mm256_sqrt_ps(_mm512_castps512_ps256(gaps));
        const __m256 high = _mm256_sqrt_ps(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(gaps), 1)));
        const __m512 roots = _mm512_castpd_ps(_mm512_insertf64x4(_mm512_castps_pd(_mm512_castps256_ps512(low)), _mm256_castps_pd(high), 1));
        const __m512 shade = _mm512_mul_ps(roots, _mm512_set1_ps(255.0f / 32.0f));
        // Nearest, halves to even; the unsigned narrowing saturates at 255.
        const __m512i values = _mm512_cvt_roundps_epi32(shade, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm512_cvtusepi32_epi8(values));
    }
};

// Chunks are pruned at most this many rows at a time.
constexpr int kChunkRows = 16;
static_assert(kChunkRows <= kMaxChunkRows);
constexpr int kMaxChunks = (kMaxBandRows + kChunkRows - 1) / kChunkRows;
constexpr int kPointVectors = (kMaxTilePoints + 15) / 16;

// Lanes first..first + 15 that lie before end.
__mmask16 LanesBefore(int first, int end) {
    const int lanes = end - first;
    return static_cast<__mmask16>(lanes >= 16 ? 0xFFFF : lanes <= 0 ? 0 : (1 << lanes) - 1);
}

// Merges the two smallest values of each lane with those of another lane
// arrangement: of {a1 <= a2} and {b1 <= b2} the smallest is min(a1, b1) and
// the second max(a1, b1) or min(a2, b2), whichever is smaller.
void MergeTwoSmallest(__m512& first, __m512& second, __m512 otherFirst, __m512 otherSecond) {
    second = _mm512_min_ps(_mm512_max_ps(first, otherFirst), _mm512_min_ps(second, otherSecond));
    first = _mm512_min_ps(first, otherFirst);
}

// The second smallest of all lanes (an equal pair counts twice), in every lane.
__m512 SecondSmallestOfLanes(__m512 first, __m512 second) {
    MergeTwoSmallest(first, second, _mm512_shuffle_f32x4(first, first, 0x4E), _mm512_shuffle_f32x4(second, second, 0x4E));
    MergeTwoSmallest(first, second, _mm512_shuffle_f32x4(first, first, 0xB1), _mm512_shuffle_f32x4(second, second, 0xB1));
    MergeTwoSmallest(first, second, _mm512_permute_ps(first, 0x4E), _mm512_permute_ps(second, 0x4E));
    MergeTwoSmallest(first, second, _mm512_permute_ps(first, 0xB1), _mm512_permute_ps(second, 0xB1));
    return second;
}

// Nearest and farthest distance from each lane's value to the span lo..hi.
void Span(__m512 value, __m512 lo, __m512 hi, __m512& nearest, __m512& farthest) {
    nearest = _mm512_max_ps(_mm512_max_ps(_mm512_sub_ps(lo, value), _mm512_sub_ps(value, hi)), _mm512_setzero_ps());
    farthest = _mm512_max_ps(_mm512_sub_ps(value, lo), _mm512_sub_ps(hi, value));
}

// A band column's points as floats, sixteen to a vector, with the parts of
// their nearest and farthest sums that do not depend on the rows, and which
// lanes hold points of each run.
struct ColumnPoints {
    int vectors;
    float left;
    float x[kPointVectors * 16];
    float y[kPointVectors * 16];
    float dzSquared[kPointVectors * 16];
    float nearestBase[kPointVectors * 16];   // (x to the nearest column)^2 + dz^2
    float farthestBase[kPointVectors * 16];  // (x to the farthest column)^2 + dz^2
    __mmask16 valid[kPointVectors];
    __mmask16 everywhere[kPointVectors];
    __mmask16 leftOrEverywhere[kPointVectors];
};

void LoadColumn(const BandColumn& column, ColumnPoints& points) {
    points.vectors = (column.count + 15) / 16;
    points.left = static_cast<float>(column.columnX[0]);
    const __m512 left = _mm512_set1_ps(points.left);
    const __m512 right = _mm512_set1_ps(static_cast<float>(column.columnX[column.columns - 1]));
    for (int v = 0; v < points.vectors; ++v) {
        const int first = 16 * v;
        const __mmask16 valid = LanesBefore(first, column.count);
        points.valid[v] = valid;
        points.everywhere[v] = LanesBefore(first, column.everywhere);
        points.leftOrEverywhere[v] = LanesBefore(first, column.leftEnd);
        const __m512 x = _mm512_cvtepi32_ps(_mm512_maskz_loadu_epi32(valid, column.x + first));
        const __m512 dz = _mm512_cvtepi32_ps(_mm512_maskz_loadu_epi32(valid, column.dzSquared + first));
        __m512 nearestX;
        __m512 farthestX;
        Span(x, left, right, nearestX, farthestX);
        _mm512_storeu_ps(points.x + first, x);
        _mm512_storeu_ps(points.y + first, _mm512_cvtepi32_ps(_mm512_maskz_loadu_epi32(valid, column.y + first)));
        _mm512_storeu_ps(points.dzSquared + first, dz);
        _mm512_storeu_ps(points.nearestBase + first, _mm512_fmadd_ps(nearestX, nearestX, dz));
        _mm512_storeu_ps(points.farthestBase + first, _mm512_fmadd_ps(farthestX, farthestX, dz));
    }
}

// Prunes the column's points for the rows of one tile and hands the survivors to it.
void PlanTile(const ColumnPoints& points, SliceTile& tile) {
    const __m512 top = _mm512_set1_ps(static_cast<float>(tile.rowY[0]));
    const __m512 bottom = _mm512_set1_ps(static_cast<float>(tile.rowY[tile.rows - 1]));

    // The threshold: the second smallest farthest sum of the points every lane searches.
    const __m512 none = _mm512_set1_ps(__builtin_inff());
    __m512 nearest[kPointVectors];
    __m512 smallest = none;
    __m512 secondSmallest = none;
    for (int v = 0; v < points.vectors; ++v) {
        const int first = 16 * v;
        __m512 nearestY;
        __m512 farthestY;
        Span(_mm512_loadu_ps(points.y + first), top, bottom, nearestY, farthestY);
        nearest[v] = _mm512_fmadd_ps(nearestY, nearestY, _mm512_loadu_ps(points.nearestBase + first));
        const __m512 farthest = _mm512_fmadd_ps(farthestY, farthestY, _mm512_loadu_ps(points.farthestBase + first));
        MergeTwoSmallest(smallest, secondSmallest, _mm512_mask_blend_ps(points.everywhere[v], none, farthest), none);
    }
    const __m512 threshold = SecondSmallestOfLanes(smallest, secondSmallest);

    // The survivors, packed in order so that the runs stay in order.
    const __m512 originX = _mm512_set1_ps(points.left);
    int kept = 0;
    int keptEverywhere = 0;
    int keptLeftEnd = 0;
    for (int v = 0; v < points.vectors; ++v) {
        const int first = 16 * v;
        const __mmask16 keep = _mm512_mask_cmp_ps_mask(points.valid[v], nearest[v], threshold, _CMP_LE_OQ);
        const __m512 dx = _mm512_sub_ps(originX, _mm512_loadu_ps(points.x + first));
        const __m512 dy = _mm512_sub_ps(top, _mm512_loadu_ps(points.y + first));
        const __m512 corner =
            _mm512_fmadd_ps(dx, dx, _mm512_fmadd_ps(dy, dy, _mm512_loadu_ps(points.dzSquared + first)));
        _mm512_storeu_si512(tile.dx + kept, _mm512_maskz_compress_epi32(keep, _mm512_cvttps_epi32(dx)));
        _mm512_storeu_si512(tile.dy + kept, _mm512_maskz_compress_epi32(keep, _mm512_cvttps_epi32(dy)));
        _mm512_storeu_si512(tile.corner + kept, _mm512_maskz_compress_epi32(keep, _mm512_cvttps_epi32(corner)));
        kept += __builtin_popcount(keep);
        keptEverywhere += __builtin_popcount(keep & points.everywhere[v]);
        keptLeftEnd += __builtin_popcount(keep & points.leftOrEverywhere[v]);
    }
    tile.count = kept;
    tile.everywhere = keptEverywhere;
    tile.leftEnd = keptLeftEnd;
}

void ShadeColumn(const BandColumn& column, std::uint8_t* frame, int width) {
    ColumnPoints points;
    LoadColumn(column, points);
    // Every tile is planned before any is shaded, so that the plans' chains
    // of minima run side by side.
    SliceTile tiles[kMaxChunks];
    const int chunks = ChunkCount(column.rows, kChunkRows);
    assert(chunks <= kMaxChunks);
    for (int chunk = 0; chunk < chunks; ++chunk) {
        ChunkGeometry(column, chunk, chunks, tiles[chunk]);
        PlanTile(points, tiles[chunk]);
    }
    for (int chunk = 0; chunk < chunks; ++chunk) ShadeTileWithLanes<Avx512Lanes>(tiles[chunk], frame, width);
}

}  // namespace

void ShadeColumnAvx512(const BandColumn& column, std::uint8_t* frame, int width) {
    ShadeColumn(column, frame, width);
}

}  // namespace mosaika
