// The SSE2 path: four pixels per vector, multiply and add apart (SSE2 has no
// fused multiply-add; both are exact here all the same). SSE2 is part of
// every x86-64 processor.
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "ShadeKernel.h"
#include "SliceTiles.h"

namespace mosaika {

namespace {

struct Sse2Lanes {
    static constexpr int kWidth = 4;
    using Float = __m128;

    static Float Load(const float* p) { return _mm_loadu_ps(p); }
    static void Store(float* p, Float a) { _mm_storeu_ps(p, a); }
    static Float Set(float value) { return _mm_set1_ps(value); }
    static Float MulAdd(Float a, Float b, Float c) { return _mm_add_ps(_mm_mul_ps(a, b), c); }
    static Float Add(Float a, Float b) { return _mm_add_ps(a, b); }
    static Float Sub(Float a, Float b) { return _mm_sub_ps(a, b); }
    static Float Min(Float a, Float b) { return _mm_min_ps(a, b); }
    static Float Max(Float a, Float b) { return _mm_max_ps(a, b); }
    static Float FromInts(const std::int32_t* p) {
        return _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }

    static void StoreShades(std::uint8_t* out, Float nearest, Float second) {
        const __m128i gap = _mm_sub_epi32(_mm_srli_epi32(_mm_cvttps_epi32(second), 10),
                                          _mm_srli_epi32(_mm_cvttps_epi32(nearest), 10));
        const __m128 shade = _mm_mul_ps(_mm_sqrt_ps(_mm_cvtepi32_ps(gap)), _mm_set1_ps(255.0f / 32.0f));
        // Nearest, halves to even (the default rounding mode); the packs saturate at 255.
        const __m128i words = _mm_packs_epi32(_mm_cvtps_epi32(shade), _mm_setzero_si128());
        const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
        std::memcpy(out, &bytes, sizeof bytes);
    }
};

void ShadeTile(const SliceTile& tile, std::uint8_t* frame, int width) {
    ShadeTileWithLanes<Sse2Lanes>(tile, frame, width);
}

}  // namespace

void ShadeColumnSse2(const BandColumn& column, std::uint8_t* frame, int width) {
    ShadeColumnPortably(column, ShadeTile, frame, width);
}

}  // namespace mosaika
