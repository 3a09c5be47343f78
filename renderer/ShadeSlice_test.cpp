// Every shading path this processor runs, against the reference shading byte
// for byte: at every slice depth, on whole frames of every size the program
// uses, on random lattices and on lattices built to break pruning and
// rounding (points on and beside cell borders and band bounds, exact ties).
// The float shortcut of the vector paths' last step is checked for every gap.
#include "ShadeSlice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Lattice.h"
#include "LatticeTesting.h"
#include "ReferenceRenderer.h"

namespace mosaika {
namespace {

constexpr std::size_t kGuardBytes = 64;
constexpr std::uint8_t kGuard = 0xA5;

// The frame a path shades; fails the test if the path writes past the frame.
Frame PathFrame(ShadePath path, const FeatureLattice& lattice, int zs, int width, int height) {
    Frame buffer(PixelCount(width, height) + kGuardBytes, kGuard);
    ShadeSliceWith(path, lattice, zs, buffer.data(), width, height);
    const auto guard = buffer.end() - static_cast<std::ptrdiff_t>(kGuardBytes);
    EXPECT_TRUE(std::all_of(guard, buffer.end(), [](std::uint8_t b) { return b == kGuard; }))
        << ShadePathName(path) << " wrote past the end of a " << width << " x " << height << " frame";
    buffer.erase(guard, buffer.end());
    return buffer;
}

// The frame of ShadeSlice itself, and of every path after it.
std::vector<std::pair<std::string, Frame>> EveryPathFrame(const FeatureLattice& lattice, int zs, int width,
                                                          int height) {
    Frame chosen(PixelCount(width, height));
    ShadeSlice(lattice, zs, chosen.data(), width, height);
    std::vector<std::pair<std::string, Frame>> frames{{"ShadeSlice", std::move(chosen)}};
    for (const ShadePath path : SupportedPaths()) {
        frames.emplace_back(ShadePathName(path), PathFrame(path, lattice, zs, width, height));
    }
    return frames;
}

// Every point at the centre of its cell's band: pixel (0, 0), at the corner
// (3072, 3072), is equally far from the four layer-1 points around it.
FeatureLattice CentredLattice() {
    FeatureLattice lattice{};
    for (int j = 0; j < 64; ++j) {
        for (int k = 0; k < 64; ++k) {
            for (int l = 0; l < 4; ++l) lattice[PointIndex(j, k, l)] = {1024 * j + 512, 1024 * k + 512, 1024 * l + 512};
        }
    }
    return lattice;
}

// Each point on a corner of its band, picked by a hash of the cell and layer:
// exact ties everywhere, and top-layer points at z = 4096.
FeatureLattice CornerLattice() {
    FeatureLattice lattice{};
    for (int j = 0; j < 64; ++j) {
        for (int k = 0; k < 64; ++k) {
            for (int l = 0; l < 4; ++l) {
                const int corner = (j * 5 + k * 3 + l * 7 + j * k) % 8;
                lattice[PointIndex(j, k, l)] = {1024 * (j + (corner & 1)), 1024 * (k + (corner >> 1 & 1)),
                                                1024 * (l + (corner >> 2 & 1))};
            }
        }
    }
    return lattice;
}

// Each point on a pixel of its cell where the cell has pixels, layer 1 at the
// slice depth and layers 0 and 2 on the band bounds nearest the slice.
FeatureLattice PixelLattice(int zs) {
    const auto onPixel = [](int cell, int hash) {
        return cell >= 3 ? PixelCoordinate(50 * (cell - 3) + hash % 50) : 1024 * cell + hash % 1025;
    };
    FeatureLattice lattice{};
    for (int j = 0; j < 64; ++j) {
        for (int k = 0; k < 64; ++k) {
            for (int l = 0; l < 4; ++l) {
                const int hash = j * 37 + k * 11 + l * 23 + j * k * 7;
                const std::int32_t z = l == 1 ? zs : l == 0 ? 1024 : 1024 * l;
                lattice[PointIndex(j, k, l)] = {onPixel(j, hash), onPixel(k, hash / 3), z};
            }
        }
    }
    return lattice;
}

// Each coordinate on its band's lower or upper bound, one unit inside either,
// or anywhere in the band, drawn from our random source.
FeatureLattice BorderLattice(std::uint32_t seed) {
    RandomSource random;
    random.Seed(seed);
    const auto draw = [&random](int band) {
        const auto pick = static_cast<int>(random.NextUniform() * 5.0);
        const int offsets[] = {0, 1, 1023, 1024, static_cast<int>(random.NextUniform() * 1025.0)};
        return 1024 * band + offsets[pick];
    };
    FeatureLattice lattice{};
    for (int j = 0; j < 64; ++j) {
        for (int k = 0; k < 64; ++k) {
            for (int l = 0; l < 4; ++l) {
                const int x = draw(j);
                const int y = draw(k);
                lattice[PointIndex(j, k, l)] = {x, y, draw(l)};
            }
        }
    }
    return lattice;
}

// Neighbouring cells mirror each other across every other border in x and in
// y: pixels on those borders (columns and rows 0, 100, 200, ...) are equally
// far from pairs of points, nearest or not. Layers 0 and 2 lie 836 below and
// above layer 1 at z = 1536, so at that slice depth they tie as well.
FeatureLattice MirroredLattice() {
    FeatureLattice lattice{};
    for (int j = 0; j < 64; ++j) {
        for (int k = 0; k < 64; ++k) {
            for (int l = 0; l < 4; ++l) {
                const int hx = (k * 7 + l * 3) % 5 * 90;  // the same for cells j and j + 1
                const int hy = (j * 5 + l * 3) % 7 * 60;  // the same for cells k and k + 1
                const int x = j % 2 == 0 ? 1024 * j + 100 + hx : 1024 * j + 924 - hx;
                const int y = k % 2 == 0 ? 1024 * k + 150 + hy : 1024 * k + 874 - hy;
                const int zOffsets[] = {700, 512, 324, 512};
                lattice[PointIndex(j, k, l)] = {x, y, 1024 * l + zOffsets[l]};
            }
        }
    }
    return lattice;
}

// Every fourth cell column j holds points on its left border at depths zs and
// 2048, right beside the two cells before it, whose points lie on their outer
// borders 1023 or more above or below zs. A band column across the border of
// those two cells then has its nearest points among those only its right
// lanes search: they must not crowd out the points its left lanes need.
FeatureLattice NearOnlyEveryFourthColumn(int zs) {
    FeatureLattice lattice{};
    for (int j = 0; j < 64; ++j) {
        const int x = j % 4 == 0 ? 1024 * j : j % 4 == 3 ? 1024 * (j + 1) : j % 4 == 2 ? 1024 * j : 1024 * j + 512;
        const int depths[4] = {0, j % 4 == 0 ? zs : 1024, j % 4 == 0 ? 2048 : 3072, 3584};
        for (int k = 0; k < 64; ++k) {
            for (int l = 0; l < 4; ++l) lattice[PointIndex(j, k, l)] = {x, 1024 * k + 512, depths[l]};
        }
    }
    return lattice;
}

TEST(ShadePaths, PortableEverywhereAndEachVectorPathWhereTheProcessorHasIt) {
    const std::span<const ShadePath> paths = SupportedPaths();
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.front(), ShadePath::kScalar);
    EXPECT_EQ(ChosenPath(), paths.back());

    std::vector<ShadePath> expected{ShadePath::kScalar};
#if defined(__x86_64__)
    __builtin_cpu_init();
    expected.push_back(ShadePath::kSse2);
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (avx2) expected.push_back(ShadePath::kAvx2);
    if (avx2 && __builtin_cpu_supports("avx512f")) expected.push_back(ShadePath::kAvx512);
#endif
    EXPECT_EQ(std::vector<ShadePath>(paths.begin(), paths.end()), expected);

    std::set<std::string> names;
    for (const ShadePath path : {ShadePath::kScalar, ShadePath::kSse2, ShadePath::kAvx2, ShadePath::kAvx512}) {
        names.insert(ShadePathName(path));
    }
    EXPECT_EQ(names, (std::set<std::string>{"scalar", "sse2", "avx2", "avx512"}));
}

TEST(ShadeSumsWith, EveryGapShadesAsShadeValueOnEveryPath) {
    // Every gap d2 - d1 a frame can hold (squared sums stay below 3 x 2048^2),
    // from two starts, with the remainders of the division at either extreme.
    std::vector<std::int32_t> nearest;
    std::vector<std::int32_t> second;
    std::vector<std::uint8_t> expected;
    for (const std::int32_t d1 : {0, 3000}) {
        for (std::int32_t gap = 0; gap <= 12288; ++gap) {
            for (const std::int32_t r1 : {0, 1023}) {
                for (const std::int32_t r2 : {0, 1023}) {
                    if (gap == 0 && r2 < r1) continue;  // second below nearest
                    nearest.push_back(1024 * d1 + r1);
                    second.push_back(1024 * (d1 + gap) + r2);
                    expected.push_back(ShadeValue(d1, d1 + gap));
                }
            }
        }
    }
    // Sums only just apart across a multiple of 1024, and an odd count for the last vector.
    nearest.push_back(1023);
    second.push_back(1024);
    expected.push_back(8);
    ASSERT_EQ(nearest.size() % 2, 1u);

    for (const ShadePath path : SupportedPaths()) {
        std::vector<std::uint8_t> shades(expected.size());
        ShadeSumsWith(path, nearest.data(), second.data(), shades.data(), static_cast<int>(shades.size()));
        for (std::size_t i = 0; i < shades.size(); ++i) {
            ASSERT_EQ(int{shades[i]}, int{expected[i]})
                << ShadePathName(path) << ": sums " << nearest[i] << " and " << second[i];
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
        {"same distance once the remainder is dropped",  // 10816 and 10601, both 10 after div 1024
         {{3, 3, 1, {3176, 3072, 1536}}, {2, 3, 1, {2971, 3092, 1536}}}, 0},
        {"sums 25 apart across a multiple of 1024",  // 1000 and 1025: 0 and 1 after div 1024
         {{3, 3, 1, {3072, 3082, 1506}}, {2, 3, 1, {3072, 3073, 1568}}}, 8},
        {"on the pixel, the next one 512 below", {{3, 3, 1, {3072, 3072, 1536}}, {3, 3, 0, {3072, 3072, 1024}}}, 128},
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
    const struct {
        const char* what;
        std::function<FeatureLattice()> lattice;
        int zs, width, height;
    } rows[] = {
        {"seed 1", [] { return SeededScene(1u).lattice; }, 1024, 320, 200},
        {"seed C0FFEE", [] { return SeededScene(0xC0FFEEu, 1).lattice; }, 1638, 320, 200},
        {"seed DEADBEEF after three shifts", [] { return SeededScene(0xDEADBEEFu, 3).lattice; }, 2047, 320, 200},
        {"seed 7, largest frame", [] { return SeededScene(7u, 1).lattice; }, 1500, 640, 480},
        {"seed 8, preview", [] { return SeededScene(8u, 2).lattice; }, 1111, 152, 112},
        {"corners", CornerLattice, 1024, 320, 200},
        {"corners, largest frame", CornerLattice, 2047, 640, 480},
        {"on pixels", [] { return PixelLattice(1536); }, 1536, 320, 200},
        {"on pixels, largest frame", [] { return PixelLattice(2047); }, 2047, 640, 480},
        {"on and beside the bounds", [] { return BorderLattice(21u); }, 1024, 320, 200},
        {"on and beside the bounds, largest frame", [] { return BorderLattice(22u); }, 2047, 640, 480},
        {"on and beside the bounds, preview", [] { return BorderLattice(23u); }, 1300, 152, 112},
        {"mirrored, ties across layers", MirroredLattice, 1600, 320, 200},
        {"mirrored, largest frame", MirroredLattice, 1536, 640, 480},
        {"nearest on one side only", [] { return NearOnlyEveryFourthColumn(2047); }, 2047, 320, 200},
        {"nearest on one side only, largest frame", [] { return NearOnlyEveryFourthColumn(2046); }, 2046, 640, 480},
        // Widths that cut the last tile short, and tiny frames.
        {"one pixel", [] { return SeededScene(9u).lattice; }, 1800, 1, 1},
        {"3 x 5", [] { return BorderLattice(24u); }, 1400, 3, 5},
        {"17 x 9", [] { return BorderLattice(25u); }, 1900, 17, 9},
        {"66 x 51", MirroredLattice, 1650, 66, 51},
        {"100 x 60", [] { return SeededScene(10u, 4).lattice; }, 1200, 100, 60},
    };
    for (const auto& row : rows) {
        const FeatureLattice lattice = row.lattice();
        ASSERT_EQ(PointsOutsideBands(lattice), 0) << row.what;
        const Frame expected = ReferenceFrame(lattice, row.zs, row.width, row.height);
        for (const auto& [name, frame] : EveryPathFrame(lattice, row.zs, row.width, row.height)) {
            EXPECT_TRUE(SameFrame(frame, expected, row.width)) << row.what << ", " << name;
        }
    }
}

TEST(ShadeSliceWith, MatchesTheReferenceAtEverySliceDepth) {
    // Depths take turns over the lattices and over two frames: full width
    // (every way a tile can straddle a cell border), and a narrower one
    // across a cell row with its last tile cut short.
    std::vector<FeatureLattice> lattices;
    lattices.push_back(SeededScene(0x1234u, 1).lattice);
    lattices.push_back(SeededScene(0xABCDu, 5).lattice);
    lattices.push_back(SeededScene(0x77u, 300).lattice);
    lattices.push_back(BorderLattice(31u));
    lattices.push_back(BorderLattice(32u));
    lattices.push_back(MirroredLattice());
    lattices.push_back(CornerLattice());
    lattices.push_back(PixelLattice(1700));
    for (const FeatureLattice& lattice : lattices) ASSERT_EQ(PointsOutsideBands(lattice), 0);

    for (int zs = 1024; zs <= 2047; ++zs) {
        const FeatureLattice& lattice = lattices[static_cast<std::size_t>(zs) % lattices.size()];
        const int width = zs % 3 == 0 ? 104 : 320;
        const int height = zs % 3 == 0 ? 60 : 16;
        const Frame expected = ReferenceFrame(lattice, zs, width, height);
        for (const ShadePath path : SupportedPaths()) {
            ASSERT_TRUE(SameFrame(PathFrame(path, lattice, zs, width, height), expected, width))
                << "zs " << zs << ", lattice " << zs % static_cast<int>(lattices.size()) << ", "
                << ShadePathName(path);
        }
    }
}

// Where the poison of cell (j, k) goes: the pixel of the frame nearest the
// border between the cells 2m and 2m + 1 that hold j, in the middle of row k.
std::pair<int, int> PoisonSpot(int j, int k, int width, int height) {
    const double x = 1024.0 * (j - j % 2 + 1);
    const double y = 1024.0 * k + 512.0;
    const auto col = static_cast<int>(std::clamp(std::lround((x - 3072.0) / 20.48), 0L, long{width - 1}));
    const auto row = static_cast<int>(std::clamp(std::lround((y - 3072.0) / 20.48), 0L, long{height - 1}));
    return {col, row};
}

// Moves every point a correct search never reads (layer 3 everywhere, every
// layer of a cell outside 2..lastJ x 2..lastK) onto its poison spot, at the
// slice depth. Two points sit on each spot that a pixel near it would read by
// mistake: a search reaching one cell too far, or into layer 3, finds a pixel
// at distance 0 from two points and shades it 0.
FeatureLattice Poisoned(FeatureLattice lattice, int zs, int width, int height, int lastJ, int lastK) {
    for (int j = 0; j < 64; ++j) {
        for (int k = 0; k < 64; ++k) {
            const bool searched = j >= 2 && j <= lastJ && k >= 2 && k <= lastK;
            const auto [col, row] = PoisonSpot(j, k, width, height);
            for (int l = searched ? 3 : 0; l < 4; ++l) {
                lattice[PointIndex(j, k, l)] = {PixelCoordinate(col), PixelCoordinate(row), zs};
            }
        }
    }
    return lattice;
}

TEST(ShadeSliceWith, NeverReadsBeyondTheCellsAroundTheFrame) {
    const struct {
        std::uint32_t seed;
        int zs, width, height, lastJ, lastK;
    } rows[] = {{11u, 1536, 320, 200, 10, 7}, {12u, 1100, 640, 480, 16, 13}, {13u, 1800, 152, 112, 7, 6}};
    for (const auto& row : rows) {
        const FeatureLattice clean = SeededScene(row.seed, 1).lattice;
        const FeatureLattice poisoned = Poisoned(clean, row.zs, row.width, row.height, row.lastJ, row.lastK);
        const Frame expected = ReferenceFrame(clean, row.zs, row.width, row.height);

        // The poison shows: no spot is 0 in the clean frame.
        std::set<std::pair<int, int>> spots;
        for (int j = 0; j < 64; ++j) {
            for (int k = 0; k < 64; ++k) spots.insert(PoisonSpot(j, k, row.width, row.height));
        }
        for (const auto& [spotCol, spotRow] : spots) {
            ASSERT_NE(expected[static_cast<std::size_t>(spotRow * row.width + spotCol)], 0)
                << spotCol << ", " << spotRow;
        }

        for (const auto& [name, frame] : EveryPathFrame(poisoned, row.zs, row.width, row.height)) {
            EXPECT_TRUE(SameFrame(frame, expected, row.width)) << row.width << " x " << row.height << ", " << name;
        }
    }
}

}  // namespace
}  // namespace mosaika
