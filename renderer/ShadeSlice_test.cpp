// Every shading path this processor runs, against the reference shading byte
// for byte: at every slice depth, on frames of every size the program uses, on
// random lattices and on lattices built to break pruning and rounding (points
// on and beside cell borders and band bounds, exact ties). The float shortcut
// of the vector paths' last step is checked for every gap.
#include "ShadeSlice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "LatticeTesting.h"

namespace mosaika {
namespace {

// The frames of ShadeSlice and of every path, by name; a path writing past the frame fails the test.
std::vector<std::pair<std::string, Frame>> EveryPathFrame(const FeatureLattice& lattice, int zs, int width,
                                                          int height) {
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::pair<std::string, Frame>> frames{{"ShadeSlice", Frame(size)}};
    ShadeSlice(lattice, zs, frames[0].second.data(), width, height);
    for (const ShadePath path : SupportedPaths()) {
        Frame buffer(size + 64, 0xA5);
        ShadeSliceWith(path, lattice, zs, buffer.data(), width, height);
        EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(size), buffer.end(),
                                [](std::uint8_t b) { return b == 0xA5; }))
            << ShadePathName(path) << " wrote past a " << width << " x " << height << " frame";
        buffer.resize(size);
        frames.emplace_back(ShadePathName(path), std::move(buffer));
    }
    return frames;
}

// Every point at the centre of its band: pixel (0, 0), at (3072, 3072), is
// equally far from the four layer-1 points around it.
FeatureLattice CentredLattice() {
    return Fill([](int j, int k, int l) { return FeaturePoint{1024 * j + 512, 1024 * k + 512, 1024 * l + 512}; });
}

// Each point on a corner of its band picked by a hash: ties everywhere, top-layer points at z = 4096.
FeatureLattice CornerLattice() {
    return Fill([](int j, int k, int l) {
        const int c = (j * 5 + k * 3 + l * 7 + j * k) % 8;
        return FeaturePoint{1024 * (j + (c & 1)), 1024 * (k + (c >> 1 & 1)), 1024 * (l + (c >> 2 & 1))};
    });
}

// Each point on a pixel of its cell where the cell has pixels, layer 1 at the
// slice depth, layers 0 and 2 on the band bounds nearest the slice.
FeatureLattice PixelLattice(int zs) {
    const auto onPixel = [](int cell, int hash) {
        return cell >= 3 ? PixelCoordinate(50 * (cell - 3) + hash % 50) : 1024 * cell + hash % 1025;
    };
    return Fill([&](int j, int k, int l) {
        const int hash = j * 37 + k * 11 + l * 23 + j * k * 7;
        return FeaturePoint{onPixel(j, hash), onPixel(k, hash / 3), l == 1 ? zs : l == 0 ? 1024 : 1024 * l};
    });
}

// Each coordinate on its band's lower or upper bound, one inside either, or anywhere in the band.
FeatureLattice BorderLattice(std::uint32_t seed) {
    RandomSource random;
    random.Seed(seed);
    const auto draw = [&random](int band) {
        const auto pick = static_cast<int>(random.NextUniform() * 5.0);
        const int offsets[] = {0, 1, 1023, 1024, static_cast<int>(random.NextUniform() * 1025.0)};
        return 1024 * band + offsets[pick];
    };
    return Fill([&](int j, int k, int l) { return FeaturePoint{draw(j), draw(k), draw(l)}; });
}

// Neighbouring cells mirror each other across every other border in x and y:
// pixels on those borders (columns and rows 0, 100, ...) are equally far from
// pairs of points. Layers 0 and 2 lie 836 from layer 1, so at z = 1536 they tie as well.
FeatureLattice MirroredLattice() {
    return Fill([](int j, int k, int l) {
        const int hx = (k * 7 + l * 3) % 5 * 90;  // the same for cells j and j + 1
        const int hy = (j * 5 + l * 3) % 7 * 60;  // the same for cells k and k + 1
        const int zOffsets[] = {700, 512, 324, 512};
        return FeaturePoint{j % 2 == 0 ? 1024 * j + 100 + hx : 1024 * j + 924 - hx,
                            k % 2 == 0 ? 1024 * k + 150 + hy : 1024 * k + 874 - hy, 1024 * l + zOffsets[l]};
    });
}

// Every fourth cell column holds points on its left border at depths zs and
// 2048, beside two cells whose points lie on their outer borders far from zs:
// a band column across the border of those two finds its nearest points only
// in its right lanes' search, which must not crowd out what its left lanes need.
FeatureLattice NearOnlyEveryFourthColumn(int zs) {
    return Fill([zs](int j, int k, int l) {
        const int x = j % 4 == 0 ? 1024 * j : j % 4 == 3 ? 1024 * (j + 1) : j % 4 == 2 ? 1024 * j : 1024 * j + 512;
        const int depths[4] = {0, j % 4 == 0 ? zs : 1024, j % 4 == 0 ? 2048 : 3072, 3584};
        return FeaturePoint{x, 1024 * k + 512, depths[l]};
    });
}

TEST(ShadePaths, PortableEverywhereAndEachVectorPathWhereTheProcessorHasIt) {
    std::vector<ShadePath> expected{ShadePath::kScalar};
#if defined(__x86_64__)
    __builtin_cpu_init();
    expected.push_back(ShadePath::kSse2);
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (avx2) expected.push_back(ShadePath::kAvx2);
    if (avx2 && __builtin_cpu_supports("avx512f")) expected.push_back(ShadePath::kAvx512);
#endif
    EXPECT_EQ(std::vector<ShadePath>(SupportedPaths().begin(), SupportedPaths().end()), expected);
    EXPECT_EQ(ChosenPath(), expected.back());
}

TEST(ShadeSumsWith, EveryGapShadesAsShadeValueOnEveryPath) {
    // Every gap d2 - d1 a frame can hold (squared sums stay below 3 x 2048^2),
    // from two starts, with the remainders of the division at either extreme,
    // then sums just apart across a multiple of 1024, an odd count for the last vector.
    std::vector<std::int32_t> nearest{1023}, second{1024};
    std::vector<std::uint8_t> expected{8};
    for (const std::int32_t d1 : {0, 3000}) {
        for (std::int32_t gap = 0; gap <= 12288; ++gap) {
            for (const auto& [r1, r2] : {std::pair{0, 0}, {0, 1023}, {1023, 0}, {1023, 1023}}) {
                if (gap == 0 && r2 < r1) continue;  // second below nearest
                nearest.push_back(1024 * d1 + r1);
                second.push_back(1024 * (d1 + gap) + r2);
                expected.push_back(ShadeValue(d1, d1 + gap));
            }
        }
    }
    ASSERT_EQ(nearest.size() % 2, 1u);
    for (const ShadePath path : SupportedPaths()) {
        std::vector<std::uint8_t> shades(expected.size());
        ShadeSumsWith(path, nearest.data(), second.data(), shades.data(), static_cast<int>(shades.size()));
        for (std::size_t i = 0; i < shades.size(); ++i) {
            ASSERT_EQ(int{shades[i]}, int{expected[i]}) << ShadePathName(path) << ": " << nearest[i] << ", "
                                                        << second[i];
        }
    }
}

TEST(ShadeSliceWith, ShadesConstructedNeighbourhoods) {
    struct Move {
        int j, k, l;
        FeaturePoint to;
    };
    const struct {
        const char* what;
        std::vector<Move> moves;
        int v;
    } rows[] = {
        {"four equally near", {}, 0},
        {"equally far across a cell border", {{3, 3, 1, {3172, 3072, 1536}}, {2, 3, 1, {2972, 3072, 1536}}}, 0},
        {"equally far above and below", {{3, 3, 1, {3072, 3072, 1836}}, {2, 2, 1, {3072, 3072, 1236}}}, 0},
        {"the same once the remainder is dropped",  // 10816 and 10601, both 10 after div 1024
         {{3, 3, 1, {3176, 3072, 1536}}, {2, 3, 1, {2971, 3092, 1536}}}, 0},
        {"sums 25 apart across a multiple of 1024",  // 1000 and 1025
         {{3, 3, 1, {3072, 3082, 1506}}, {2, 3, 1, {3072, 3073, 1568}}}, 8},
        {"on the pixel, the next 512 below", {{3, 3, 1, {3072, 3072, 1536}}, {3, 3, 0, {3072, 3072, 1024}}}, 128},
        {"on the pixel, the others at the centres", {{3, 3, 1, {3072, 3072, 1536}}}, 180},
    };
    for (const auto& row : rows) {
        FeatureLattice lattice = CentredLattice();
        for (const Move& move : row.moves) lattice[PointIndex(move.j, move.k, move.l)] = move.to;
        ASSERT_EQ(PointsOutsideBands(lattice), 0) << row.what;
        EXPECT_EQ(int{ReferenceFrame(lattice, 1536, 1, 1)[0]}, row.v) << row.what;
        for (const auto& [name, frame] : EveryPathFrame(lattice, 1536, 1, 1)) {
            EXPECT_EQ(int{frame[0]}, row.v) << row.what << ", " << name;
        }
    }
}

TEST(ShadeSliceWith, MatchesTheReferenceOnWholeFrames) {
    const auto seeded = [](std::uint32_t seed, int shifts) {
        return [=] { return SeededScene(seed, shifts).lattice; };
    };
    const auto border = [](std::uint32_t seed) { return [=] { return BorderLattice(seed); }; };
    const struct {
        std::function<FeatureLattice()> lattice;
        int zs, width, height;
    } rows[] = {
        {seeded(1u, 0), 1024, 320, 200}, {seeded(0xC0FFEEu, 1), 1638, 320, 200},
        {seeded(0xDEADBEEFu, 3), 2047, 320, 200}, {seeded(7u, 1), 1500, 640, 480}, {seeded(8u, 2), 1111, 152, 112},
        {CornerLattice, 1024, 320, 200}, {CornerLattice, 2047, 640, 480},
        {[] { return PixelLattice(1536); }, 1536, 320, 200}, {[] { return PixelLattice(2047); }, 2047, 640, 480},
        {border(21u), 1024, 320, 200}, {border(22u), 2047, 640, 480}, {border(23u), 1300, 152, 112},
        {MirroredLattice, 1600, 320, 200}, {MirroredLattice, 1536, 640, 480},
        {[] { return NearOnlyEveryFourthColumn(2047); }, 2047, 320, 200},
        {[] { return NearOnlyEveryFourthColumn(2046); }, 2046, 640, 480},
        // Widths that cut the last tile short, and tiny frames.
        {seeded(9u, 0), 1800, 1, 1}, {border(24u), 1400, 3, 5}, {border(25u), 1900, 17, 9},
        {MirroredLattice, 1650, 66, 51}, {seeded(10u, 4), 1200, 100, 60},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& row = rows[i];
        const FeatureLattice lattice = row.lattice();
        ASSERT_EQ(PointsOutsideBands(lattice), 0) << "row " << i;
        const Frame expected = ReferenceFrame(lattice, row.zs, row.width, row.height);
        for (const auto& [name, frame] : EveryPathFrame(lattice, row.zs, row.width, row.height)) {
            EXPECT_TRUE(SameFrame(frame, expected, row.width)) << "row " << i << ", " << name;
        }
    }
}

TEST(ShadeSliceWith, MatchesTheReferenceAtEverySliceDepth) {
    // Depths take turns over the lattices and two frames: full width (every way a
    // tile can straddle a cell border), and a narrower one whose last tile is cut short.
    const std::vector<FeatureLattice> lattices = {
        SeededScene(0x1234u, 1).lattice, SeededScene(0xABCDu, 5).lattice, SeededScene(0x77u, 300).lattice,
        BorderLattice(31u), BorderLattice(32u), MirroredLattice(), CornerLattice(), PixelLattice(1700)};
    for (int zs = 1024; zs <= 2047; ++zs) {
        const FeatureLattice& lattice = lattices[static_cast<std::size_t>(zs) % lattices.size()];
        const int width = zs % 3 == 0 ? 104 : 320;
        const int height = zs % 3 == 0 ? 60 : 16;
        const Frame expected = ReferenceFrame(lattice, zs, width, height);
        for (const auto& [name, frame] : EveryPathFrame(lattice, zs, width, height)) {
            ASSERT_TRUE(SameFrame(frame, expected, width)) << "zs " << zs << ", " << name;
        }
    }
}

// The poison spot of cell (j, k): the frame's pixel nearest the border between
// the cells 2m and 2m + 1 that hold j, in the middle of row k.
std::pair<int, int> PoisonSpot(int j, int k, int width, int height) {
    const auto pixel = [](double at, int size) {
        return static_cast<int>(std::clamp(std::lround((at - 3072.0) / 20.48), 0L, long{size - 1}));
    };
    return {pixel(1024.0 * (j - j % 2 + 1), width), pixel(1024.0 * k + 512.0, height)};
}

TEST(ShadeSliceWith, NeverReadsBeyondTheCellsAroundTheFrame) {
    // Every point a correct search never reads (layer 3, and every layer of a
    // cell outside 2..lastJ x 2..lastK) moves onto its poison spot at the slice
    // depth. Two points sit on each spot, so a search reaching one cell too far
    // or into layer 3 shades a pixel there 0, which the clean frame never is.
    const struct {
        std::uint32_t seed;
        int zs, width, height, lastJ, lastK;
    } rows[] = {{11u, 1536, 320, 200, 10, 7}, {12u, 1100, 640, 480, 16, 13}, {13u, 1800, 152, 112, 7, 6}};
    for (const auto& row : rows) {
        const FeatureLattice clean = SeededScene(row.seed, 1).lattice;
        const Frame expected = ReferenceFrame(clean, row.zs, row.width, row.height);
        const FeatureLattice poisoned = Fill([&](int j, int k, int l) {
            const bool searched = j >= 2 && j <= row.lastJ && k >= 2 && k <= row.lastK && l < 3;
            const auto [col, row_] = PoisonSpot(j, k, row.width, row.height);
            EXPECT_NE(expected[static_cast<std::size_t>(row_ * row.width + col)], 0) << col << ", " << row_;
            return searched ? clean[PointIndex(j, k, l)]
                            : FeaturePoint{PixelCoordinate(col), PixelCoordinate(row_), row.zs};
        });
        for (const auto& [name, frame] : EveryPathFrame(poisoned, row.zs, row.width, row.height)) {
            EXPECT_TRUE(SameFrame(frame, expected, row.width)) << row.width << " x " << row.height << ", " << name;
        }
    }
}

}  // namespace
}  // namespace mosaika
