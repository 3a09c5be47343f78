// The AVX2 path: eight pixels per vector with fused multiply-add. Built with
// -mavx2 -mfma and run only where the processor reports both.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "ShadeKernel.h"
#include "SliceTiles.h"

namespace mosaika {

namespace {

struct Avx2Lanes {
    static constexpr int kWidth = 8;
    using Float = __m256;

    static Float Load(const float* p) { return _mm256_loadu_ps(p); }
    static void Store(float* p, Float a) { _mm256_storeu_ps(p, a); }
    static Float Set(float value) { return _mm256_set1_ps(value); }
    static Float MulAdd(Float a, Float b, Float c) { return _mm256_fmadd_ps(a, b, c); }
    static Float Add(Float a, Float b) { return _mm256_add_ps(a, b); }
    static Float Sub(Float a, Float b) { return _mm256_sub_ps(a, b); }
    static Float Min(Float a, Float b) { return _mm256_min_ps(a, b); }
    static Float Max(Float a, Float b) { return _mm256_max_ps(a, b); }
    static Float FromInts(const std::int32_t* p) {
        return _mm256_cvtepi32_ps(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
    }

    static void StoreShades(std::uint8_t* out, Float nearest, Float second) {
        const __m256i gap = _mm256_sub_epi32(_mm256_srli_epi32(_mm256_cvttps_epi32(second), 10),
                                             _mm256_srli_epi32(_mm256_cvttps_epi32(nearest), 10));
        const __m256 shade = _mm256_mul_ps(_mm256_sqrt_ps(_mm256_cvtepi32_ps(gap)), _mm256_set1_ps(255.0f / 32.0f));
        // Nearest, halves to even (the default rounding mode); the packs saturate at 255.
        const __m256i values = _mm256_cvtps_epi32(shade);
        const __m128i words = _mm_packs_epi32(_mm256_castsi256_si128(values), _mm256_extracti128_si256(values, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, words));
    }
};

void ShadeTile(const SliceTile& tile, std::uint8_t* frame, int width) {
    ShadeTileWithLanes<Avx2Lanes>(tile, frame, width);
}

}  // namespace

void ShadeColumnAvx2(const BandColumn& column, std::uint8_t* frame, int width) {
    ShadeColumnPortably(column, ShadeTile, frame, width);
}

}  // namespace mosaika
