// Every shading path this processor runs against the reference, byte for byte: at every
// slice depth, on frames of every size the program uses, on random lattices and on lattices
// built to break pruning and rounding, and every gap a pixel can have through the float shortcut.
#include "ShadeSlice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "LatticeTesting.h"

namespace mosaika {
namespace {

// ShadeSlice and every path shade the slice as expected; a path writing past the frame fails.
void ExpectEveryPath(const FeatureLattice& lattice, int zs, int width, int height, const Frame& expected,
                     const std::string& what) {
    Frame frame(expected.size());
    ShadeSlice(lattice, zs, frame.data(), width, height);
    ASSERT_TRUE(SameFrame(frame, expected, width)) << what << ", ShadeSlice";
    for (const ShadePath path : SupportedPaths()) {
        Frame buffer(expected.size() + 64, 0xA5);
        ShadeSliceWith(path, lattice, zs, buffer.data(), width, height);
        EXPECT_EQ(std::count(buffer.end() - 64, buffer.end(), 0xA5), 64) << what << ", " << ShadePathName(path)
                                                                        << " wrote past the frame";
        buffer.resize(expected.size());
        ASSERT_TRUE(SameFrame(buffer, expected, width)) << what << ", " << ShadePathName(path);
    }
}

void ExpectReferenceEverywhere(const FeatureLattice& lattice, int zs, int width, int height, const std::string& what) {
    ExpectEveryPath(lattice, zs, width, height, ReferenceFrame(lattice, zs, width, height), what);
}

// Each point on a corner of its band picked by a hash: ties everywhere, top-layer points at z = 4096.
FeatureLattice CornerLattice() {
    return Fill([](int j, int k, int l) {
        const int c = (j * 5 + k * 3 + l * 7 + j * k) % 8;
        return FeaturePoint{1024 * (j + (c & 1)), 1024 * (k + (c >> 1 & 1)), 1024 * (l + (c >> 2 & 1))};
    });
}

// Round((i / 50 + 3) x 1024), the coordinate of pixel column or row i: the remainder is never half of 25.
std::int32_t PixelAt(int i) { return (76800 + 512 * i + 12) / 25; }

// Each point on a pixel of its cell where the cell has pixels, layer 1 at the
// slice depth, layers 0 and 2 on the band bounds nearest the slice.
FeatureLattice PixelLattice(int zs) {
    const auto onPixel = [](int cell, int hash) {
        return cell >= 3 ? PixelAt(50 * (cell - 3) + hash % 50) : 1024 * cell + hash % 1025;
    };
    return Fill([&](int j, int k, int l) {
        const int hash = j * 37 + k * 11 + l * 23 + j * k * 7;
        return FeaturePoint{onPixel(j, hash), onPixel(k, hash / 3), l == 1 ? zs : 1024 * std::max(l, 1)};
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
        const int hx = (k * 7 + l * 3) % 5 * 90, hy = (j * 5 + l * 3) % 7 * 60;  // the same for both cells
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

// a^2 + b^2 + c^2 = n with a, b <= 1024 and c <= 512, if there is such a sum.
std::optional<std::array<int, 3>> ThreeSquares(int n) {
    static const std::vector<int> twoSquares = [] {  // a x 2048 + b for each a^2 + b^2, or -1
        std::vector<int> table(2 * 1024 * 1024 + 1, -1);
        for (int a = 0; a <= 1024; ++a) {
            for (int b = 0; b <= 1024; ++b) table[static_cast<std::size_t>(a * a + b * b)] = a * 2048 + b;
        }
        return table;
    }();
    for (int c = 0; c <= 512 && c * c <= n; ++c) {
        const int ab = twoSquares[static_cast<std::size_t>(n - c * c)];
        if (ab >= 0) return std::array{ab / 2048, ab % 2048, c};
    }
    return std::nullopt;
}

TEST(ShadeSliceWith, ShadesEveryGapAs255TimesItsClampedRoot) {
    // A one-pixel frame at (3072, 3072, 1536) whose nearest point lies in cell
    // (3, 3) and second-nearest in cell (2, 3), both in layer 1, at squared sums
    // n1 <= n2 taken as near as sums of three squares allow to the ends of
    // their multiples of 1024 (the remainder the division drops). Every other
    // point sits on a far corner, 2 x 1024^2 or more away. Gaps past 1024 clamp.
    // The shade Round(255 x min(1, sqrt(gap / 1024))) in integers: the least v with
    // 4 x 255^2 x gap <= (2v + 1)^2 x 1024, a half going to the even v.
    const auto exact = [](std::int64_t gap) {
        std::int64_t v = 0;
        while (v < 255 && (2 * v + 1) * (2 * v + 1) * 1024 < 4 * 255 * 255 * gap) ++v;
        const bool half = v < 255 && (2 * v + 1) * (2 * v + 1) * 1024 == 4 * 255 * 255 * gap;
        return static_cast<int>(half && v % 2 ? v + 1 : v);
    };
    ASSERT_EQ((std::vector{exact(1), exact(256), exact(512), exact(5000)}), (std::vector{8, 128, 180, 255}));
    FeatureLattice far = Fill([](int j, int k, int l) {
        const auto corner = [](int cell) { return 1024 * (cell < 3 ? cell : cell + 1); };
        return FeaturePoint{corner(j), corner(k), l == 1 ? 1536 : 3072 * (l / 2)};
    });
    const auto near = [](int n, int step) {
        for (;; n += step) {
            if (const auto squares = ThreeSquares(n)) return *squares;
        }
    };
    for (const int d1 : {0, 300}) {
        for (int gap = 0; gap <= 1101; ++gap) {
            for (const int r1 : {0, 1023}) {
                for (const int r2 : {0, 1023}) {
                    if (gap == 0 && r2 < r1) continue;
                    const auto [a1, b1, c1] = near(1024 * d1 + r1, r1 == 0 ? 1 : -1);
                    const int d2 = d1 + (gap <= 1100 ? gap : 1700);  // the last one clamped far past 1024
                    const auto [a2, b2, c2] = near(1024 * d2 + r2, r2 == 0 ? 1 : -1);
                    FeatureLattice lattice = far;
                    lattice[PointIndex(3, 3, 1)] = {3072 + a1, 3072 + b1, 1536 + c1};
                    lattice[PointIndex(2, 3, 1)] = {3072 - a2, 3072 + b2, 1536 - c2};
                    ExpectEveryPath(lattice, 1536, 1, 1, Frame{static_cast<std::uint8_t>(exact(d2 - d1))},
                                    "d1 " + std::to_string(d1) + ", d2 " + std::to_string(d2));
                    if (HasFatalFailure()) return;
                }
            }
        }
    }
}

TEST(ShadeSliceWith, MatchesTheReferenceOnFramesOfEverySizeAndAtEverySliceDepth) {
    // The program's frames, widths that cut the last tile short, and tiny frames.
    static const struct {  // 3 MB: not on the stack
        FeatureLattice lattice;
        int zs, width, height;
    } rows[] = {
        {SeededScene(1u).lattice, 1024, 320, 200},       {SeededScene(0xDEADBEEFu, 3).lattice, 2047, 320, 200},
        {SeededScene(7u, 1).lattice, 1500, 640, 480},    {SeededScene(8u, 2).lattice, 1111, 152, 112},
        {CornerLattice(), 2047, 640, 480},               {PixelLattice(2047), 2047, 640, 480},
        {BorderLattice(22u), 2047, 640, 480},            {BorderLattice(23u), 1300, 152, 112},
        {MirroredLattice(), 1536, 640, 480},             {NearOnlyEveryFourthColumn(2046), 2046, 640, 480},
        {NearOnlyEveryFourthColumn(2047), 2047, 320, 200}, {SeededScene(9u).lattice, 1800, 1, 1},
        {BorderLattice(24u), 1400, 3, 5},                {BorderLattice(25u), 1900, 17, 9},
        {MirroredLattice(), 1650, 66, 51},               {SeededScene(10u, 4).lattice, 1200, 100, 60},
    };
    for (const auto& row : rows) {
        ExpectReferenceEverywhere(row.lattice, row.zs, row.width, row.height,
                                  std::to_string(row.width) + " x " + std::to_string(row.height));
    }
    // Depths take turns over the lattices and two frames: full width (every way a
    // tile can straddle a cell border), and a narrower one whose last tile is cut short.
    static const FeatureLattice lattices[] = {
        SeededScene(0x1234u, 1).lattice, SeededScene(0xABCDu, 5).lattice, SeededScene(0x77u, 300).lattice,
        BorderLattice(31u), BorderLattice(32u), MirroredLattice(), CornerLattice(), PixelLattice(1700)};
    for (int zs = 1024; zs <= 2047 && !HasFatalFailure(); ++zs) {
        const bool narrow = zs % 3 == 0;
        ExpectReferenceEverywhere(lattices[static_cast<std::size_t>(zs) % std::size(lattices)], zs, narrow ? 104 : 320,
                                  narrow ? 60 : 16, "zs " + std::to_string(zs));
    }
}

TEST(ShadeSliceWith, NeverReadsBeyondTheCellsAroundTheFrame) {
    // Every point a correct search never reads (layer 3, and every layer of a
    // cell outside 2..lastJ x 2..lastK) moves onto its poison spot at the slice
    // depth: the pixel nearest the border between the cells 2m and 2m + 1 that
    // hold j, in the middle of row k. Two points sit on each spot, so a search
    // reaching one cell too far or into layer 3 shades a pixel there 0, which
    // the clean frame never is.
    const struct {
        std::uint32_t seed;
        int zs, width, height, lastJ, lastK;
    } rows[] = {{11u, 1536, 320, 200, 10, 7}, {12u, 1100, 640, 480, 16, 13}, {13u, 1800, 152, 112, 7, 6}};
    for (const auto& row : rows) {
        const FeatureLattice clean = SeededScene(row.seed, 1).lattice;
        const Frame expected = ReferenceFrame(clean, row.zs, row.width, row.height);
        const auto pixel = [](double at, int size) {
            return static_cast<int>(std::clamp(std::lround((at - 3072.0) / 20.48), 0L, long{size - 1}));
        };
        const FeatureLattice poisoned = Fill([&](int j, int k, int l) {
            const int col = pixel(1024.0 * (j - j % 2 + 1), row.width), line = pixel(1024.0 * k + 512.0, row.height);
            EXPECT_NE(expected[static_cast<std::size_t>(line * row.width + col)], 0) << col << ", " << line;
            const bool searched = j >= 2 && j <= row.lastJ && k >= 2 && k <= row.lastK && l < 3;
            return searched ? clean[PointIndex(j, k, l)] : FeaturePoint{PixelAt(col), PixelAt(line), row.zs};
        });
        ExpectEveryPath(poisoned, row.zs, row.width, row.height, expected, "poisoned " + std::to_string(row.seed));
    }
}

}  // namespace
}  // namespace mosaika
