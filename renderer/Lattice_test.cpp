// The random source, the lattice and its shift, the animation clock, the
// shade of a gap and the reference shading's reads, checked against exact
// integer formulations. The shading paths have tests of their own
// (ShadeSlice_test.cpp).
#include "Lattice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "LatticeTesting.h"
#include "ReferenceRenderer.h"

namespace mosaika {
namespace {

constexpr std::uint32_t kInverseMultiplier = 3645876429u;  // 134775813 x this = 1 modulo 2^32

std::uint32_t StepForward(std::uint32_t state) { return state * 134775813u + 1u; }
std::uint32_t StepBack(std::uint32_t state) { return (state - 1u) * kInverseMultiplier; }

// Round((state x 2^-32 + cell) x 1024) in integers: 1024 cell + state / 2^22, halves to even.
std::int32_t ExactJitter(std::uint32_t state, int cell) {
    std::uint32_t whole = state >> 22;
    const std::uint32_t rest = state & 0x3FFFFFu;
    if (rest > 0x200000u || (rest == 0x200000u && (whole & 1u) != 0)) ++whole;
    return cell * 1024 + static_cast<std::int32_t>(whole);
}

FeaturePoint ExpectedPoint(std::uint32_t& state, int j, int k, int l) {
    FeaturePoint p{};
    p.x = ExactJitter(state = StepForward(state), j);
    p.y = ExactJitter(state = StepForward(state), k);
    p.z = ExactJitter(state = StepForward(state), l);
    return p;
}

testing::AssertionResult SamePoint(const FeaturePoint& a, const FeaturePoint& b) {
    if (a.x == b.x && a.y == b.y && a.z == b.z) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs (" << b.x << ", "
                                       << b.y << ", " << b.z << ")";
}

testing::AssertionResult SameLattice(const FeatureLattice& a, const FeatureLattice& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (auto same = SamePoint(a[i], b[i]); !same) return same << " at point " << i;
    }
    return testing::AssertionSuccess();
}

TEST(RandomSource, FollowsTheCongruentialSequence) {
    const struct {
        std::uint32_t seed;
        std::vector<std::uint32_t> states;
    } rows[] = {
        {0u, {1u, 134775814u, 3698175007u, 870078620u, 1172187917u}},
        {0xFFFFFFFFu, {4160191484u, 866343917u, 2231304098u}},
        {0x4D60AE66u, {0xFFFFFFFFu, 4160191484u}},  // the largest result, 1 - 2^-32
        {0x26B05733u, {0u, 1u}},
    };
    for (const auto& row : rows) {
        RandomSource random;
        random.Seed(row.seed);
        for (const std::uint32_t state : row.states) {
            const double u = random.NextUniform();
            EXPECT_EQ(random.State(), state) << "seed " << row.seed;
            EXPECT_EQ(u, std::ldexp(static_cast<double>(state), -32)) << "seed " << row.seed;
            EXPECT_LT(u, 1.0);
        }
    }
}

TEST(RandomSource, SeedsFromCounterLowBitsOrElseTickCount) {
    const struct {
        std::optional<std::int64_t> counter;
        std::uint32_t tickCount;
        std::uint32_t state;
    } rows[] = {
        {0x123456789ABCDEF0, 7u, 0x9ABCDEF0u},
        {-1, 7u, 0xFFFFFFFFu},
        {0, 7u, 0u},  // a counter of 0 is a success, not a failure
        {std::nullopt, 7u, 7u},
        {std::nullopt, 0xFFFFFFFFu, 0xFFFFFFFFu},
    };
    for (const auto& row : rows) {
        FixedClock clock;
        clock.counter = row.counter;
        clock.tickCount = row.tickCount;
        RandomSource random;
        random.Seed(12345u);
        random.SeedFromClock(clock);
        EXPECT_EQ(random.State(), row.state);
    }
}

TEST(Lattice, PointIndexPutsLayersTogetherAndRowsApart) {
    const struct {
        int j, k, l;
        std::size_t index;
    } rows[] = {{0, 0, 0, 0}, {0, 0, 3, 3}, {1, 0, 0, 4}, {0, 1, 0, 256}, {5, 7, 2, 1814}, {63, 63, 3, 16383}};
    for (const auto& row : rows) EXPECT_EQ(PointIndex(row.j, row.k, row.l), row.index);
}

TEST(BuildLattice, DrawsXYZPerPointColumnsOuterRowsInner) {
    // Seed 12345, worked out with exact fractions.
    const Scene scene = SeededScene(12345u);
    const struct {
        int j, k, l;
        FeaturePoint point;
    } rows[] = {
        {0, 0, 0, {395, 296, 82}},     {0, 0, 1, {567, 649, 1374}},    {0, 0, 3, {945, 998, 3400}},
        {0, 1, 0, {246, 1831, 522}},   {1, 0, 0, {1982, 888, 440}},    {5, 7, 2, {6123, 8059, 2267}},
        {63, 63, 3, {64762, 64901, 3992}},
    };
    for (const auto& row : rows) EXPECT_TRUE(SamePoint(scene.lattice[PointIndex(row.j, row.k, row.l)], row.point));
    EXPECT_EQ(scene.random.State(), 3857477689u);

    for (const std::uint32_t seed : {0u, 0xFFFFFFFFu, 0x5EED5EEDu}) {
        std::uint32_t state = seed;
        FeatureLattice expected{};
        for (int j = 0; j < 64; ++j) {
            for (int k = 0; k < 64; ++k) {
                for (int l = 0; l < 4; ++l) expected[PointIndex(j, k, l)] = ExpectedPoint(state, j, k, l);
            }
        }
        const Scene built = SeededScene(seed);
        EXPECT_TRUE(SameLattice(built.lattice, expected)) << "seed " << seed;
        EXPECT_EQ(built.random.State(), state);
    }
}

TEST(Lattice, DrawsRoundHalvesToEvenAndMayReachTheUpperBound) {
    const struct {
        std::uint32_t state;
        std::int32_t offset;  // above the band's lower bound
    } rows[] = {{0x00200000u, 0}, {0x00600000u, 2}, {0x00200001u, 1}, {0xFFDFFFFFu, 1023},
                {0xFFE00000u, 1024}, {0xFFFFFFFFu, 1024}};
    for (const auto& row : rows) {
        // The first draw of BuildLattice is the x of cell (0, 0), layer 0.
        const Scene built = SeededScene(StepBack(row.state));
        EXPECT_EQ(built.lattice[PointIndex(0, 0, 0)].x, row.offset) << std::hex << row.state;

        // The third draw of ShiftLayers is the z of cell (0, 0), layer 3.
        Scene scene;
        scene.random.Seed(StepBack(StepBack(StepBack(row.state))));
        ShiftLayers(scene);
        EXPECT_EQ(scene.lattice[PointIndex(0, 0, 3)].z, 3072 + row.offset) << std::hex << row.state;
    }
}

TEST(ShiftLayers, MovesLayersDownAndDrawsAFreshTopLayer) {
    Scene scene = SeededScene(0xC0FFEEu);
    const FeatureLattice before = scene.lattice;
    std::uint32_t state = scene.random.State();
    ShiftLayers(scene);
    for (int j = 0; j < 64; ++j) {
        for (int k = 0; k < 64; ++k) {
            for (int l = 0; l < 3; ++l) {
                const FeaturePoint& above = before[PointIndex(j, k, l + 1)];
                ASSERT_TRUE(SamePoint(scene.lattice[PointIndex(j, k, l)], {above.x, above.y, above.z - 1024}))
                    << j << "," << k << "," << l;
            }
            ASSERT_TRUE(SamePoint(scene.lattice[PointIndex(j, k, 3)], ExpectedPoint(state, j, k, 3))) << j << "," << k;
        }
    }
    EXPECT_EQ(scene.random.State(), state);
}

TEST(ShiftLayers, KeepsEveryPointInItsBandOverThousandsOfShifts) {
    Scene scene = SeededScene(0xBADC0DEu);
    ASSERT_EQ(PointsOutsideBands(scene.lattice), 0);
    int onUpperBound = 0;
    for (int shift = 0; shift < 2000; ++shift) {
        ShiftLayers(scene);
        ASSERT_EQ(PointsOutsideBands(scene.lattice), 0) << "after shift " << shift + 1;
        for (int k = 0; k < 64; ++k) onUpperBound += scene.lattice[PointIndex(k, k, 3)].z == 4096 ? 1 : 0;
    }
    EXPECT_GT(onUpperBound, 0) << "the upper bound of the top band was never drawn";
}

// Shifts expected of AdvanceAnimation: NextShiftTime before, t, then the shifts,
// NextShiftTime after and the slice depth.
TEST(AdvanceAnimation, ShiftsAtMostOncePerFrame) {
    const struct {
        const char* what;
        double nextShiftTime, t;
        int shifts;
        double nextShiftTimeAfter;
        int zs;
    } rows[] = {
        {"first frame", 0.0, 1234.5678, 1, 1235.0, 1605},
        {"first frame at time 0", 0.0, 0.0, 1, 1.0, 1024},
        {"not yet due", 11.0, 10.999, 0, 11.0, 2046},
        {"due exactly", 11.0, 11.0, 1, 12.0, 1024},
        {"long stall", 11.0, 57.25, 1, 58.0, 1280},
        {"top of the slice range", 1.0, 0.99951171875, 0, 1.0, 2047},
        {"clock back within the unit", 11.0, 10.0, 0, 11.0, 1024},
        {"clock back past the unit", 11.0, 9.5, 1, 10.0, 1536},
        {"clock wrapped", 2576981.0, 0.6, 1, 1.0, 1638},
    };
    for (const auto& row : rows) {
        Scene scene = SeededScene(42u);
        scene.NextShiftTime = row.nextShiftTime;
        Scene expected = scene;
        for (int i = 0; i < row.shifts; ++i) ShiftLayers(expected);

        EXPECT_EQ(AdvanceAnimation(scene, row.t), row.zs) << row.what;
        EXPECT_EQ(scene.NextShiftTime, row.nextShiftTimeAfter) << row.what;
        EXPECT_EQ(scene.random.State(), expected.random.State()) << row.what;
        EXPECT_TRUE(SameLattice(scene.lattice, expected.lattice)) << row.what;
    }
}

TEST(AdvanceAnimation, KeepsMovingAcrossTheClockWrap) {
    Scene scene = SeededScene(99u);
    FixedClock clock;
    clock.milliseconds = 0xFFFFFFFFu - 6000u;
    double previousT = 0.0;
    int shiftsAfterWrap = 0;
    for (int frame = 0; frame < 50; ++frame, clock.milliseconds += 250u) {
        const double t = AnimationTime(clock);
        const std::uint32_t stateBefore = scene.random.State();
        const int zs = AdvanceAnimation(scene, t);
        const bool shifted = scene.random.State() != stateBefore;

        // One shift whenever t enters another whole unit, backwards included.
        EXPECT_EQ(shifted, frame == 0 || std::trunc(t) != std::trunc(previousT)) << "frame " << frame << " t " << t;
        EXPECT_EQ(scene.NextShiftTime, std::trunc(t) + 1.0) << "frame " << frame;
        EXPECT_TRUE(zs >= 1024 && zs <= 2047) << zs;
        if (shifted && clock.milliseconds < 6000u) ++shiftsAfterWrap;
        previousT = t;
    }
    EXPECT_EQ(shiftsAfterWrap, 4);  // the new start, then t = 1, 2, 3
}

TEST(PixelCoordinate, FiftyPixelsPerCellThreeCellsIn) {
    const struct {
        int i;
        std::int32_t coordinate;
    } rows[] = {{0, 3072}, {1, 3092}, {2, 3113}, {50, 4096}, {199, 7148}, {319, 9605}, {639, 16159}};
    for (const auto& row : rows) EXPECT_EQ(PixelCoordinate(row.i), row.coordinate) << row.i;

    // (i / 50 + 3) x 1024 = (76800 + 512 i) / 25, never a half.
    for (int i = 0; i < 640; ++i) {
        const int numerator = 76800 + 512 * i;
        EXPECT_EQ(PixelCoordinate(i), numerator / 25 + (2 * (numerator % 25) > 25 ? 1 : 0)) << i;
    }
}

// Round(255 x min(1, sqrt(n / 1024))) in integers: the v with
// (2v - 1)^2 x 1024 < 4 x 255^2 x n <= (2v + 1)^2 x 1024, a half going to the even v.
int ExactShade(std::int64_t n) {
    if (n >= 1024) return 255;
    const std::int64_t target = 4 * 255 * 255 * n;
    std::int64_t v = 0;
    while ((2 * v + 1) * (2 * v + 1) * 1024 < target) ++v;
    if ((2 * v + 1) * (2 * v + 1) * 1024 == target && v % 2 == 1) ++v;
    return static_cast<int>(v);
}

TEST(ShadeValue, TwoFiftyFiveTimesTheClampedRootOfTheGap) {
    const struct {
        std::int32_t d1, d2;
        int v;
    } rows[] = {{0, 0, 0}, {500, 500, 0}, {0, 1, 8}, {0, 4, 16}, {0, 256, 128}, {1000, 1256, 128},
                {0, 512, 180}, {0, 1023, 255}, {0, 1024, 255}, {0, 100000, 255}};
    for (const auto& row : rows) EXPECT_EQ(int{ShadeValue(row.d1, row.d2)}, row.v) << row.d1 << ", " << row.d2;

    for (const std::int32_t d1 : {0, 777}) {
        for (std::int32_t gap = 0; gap <= 1100; ++gap) {
            ASSERT_EQ(int{ShadeValue(d1, d1 + gap)}, ExactShade(gap)) << "gap " << gap;
        }
    }
}

struct ReadRecorder final : CellVisitor {
    int minJ = 64, maxJ = -1, minK = 64, maxK = -1, maxL = -1;
    long reads = 0;
    std::vector<std::vector<int>> order;

    void VisitPoint(int j, int k, int l) override {
        minJ = std::min(minJ, j);
        maxJ = std::max(maxJ, j);
        minK = std::min(minK, k);
        maxK = std::max(maxK, k);
        maxL = std::max(maxL, l);
        ++reads;
        if (order.size() < 27) order.push_back({j, k, l});
    }
};

TEST(ReferenceShadeSlice, ReadsTwentySevenPointsAroundEachPixel) {
    const FeatureLattice lattice = SeededScene(3u).lattice;
    const struct {
        int width, height, lastJ, lastK;
    } rows[] = {{320, 200, 10, 7}, {640, 480, 16, 13}};
    for (const auto& row : rows) {
        ReadRecorder recorder;
        Frame frame(static_cast<std::size_t>(row.width) * static_cast<std::size_t>(row.height));
        ReferenceShadeSlice(lattice, 1700, frame.data(), row.width, row.height, &recorder);
        EXPECT_EQ(recorder.reads, 27L * row.width * row.height);
        EXPECT_EQ(recorder.minJ, 2);
        EXPECT_EQ(recorder.maxJ, row.lastJ);
        EXPECT_EQ(recorder.minK, 2);
        EXPECT_EQ(recorder.maxK, row.lastK);
        EXPECT_EQ(recorder.maxL, 2) << "layer 3 is never searched";

        // Pixel (0, 0) lies in cell (3, 3): rows outer, columns middle, layers inner.
        std::vector<std::vector<int>> expected;
        for (int k = 2; k <= 4; ++k) {
            for (int j = 2; j <= 4; ++j) {
                for (int l = 0; l < 3; ++l) expected.push_back({j, k, l});
            }
        }
        EXPECT_EQ(recorder.order, expected);
    }
}

}  // namespace
}  // namespace mosaika
