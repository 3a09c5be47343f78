// The random source, the lattice and its shift and the animation clock, against
// exact integer formulations. The shading and the shade of a gap are checked in ShadeSlice_test.cpp.
#include "Lattice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "LatticeTesting.h"

namespace mosaika {
namespace {

bool SameLattice(const FeatureLattice& a, const FeatureLattice& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::uint32_t StepBack(std::uint32_t state) { return (state - 1u) * 3645876429u; }  // 134775813 x this = 1

// The next draw for cell `cell`: Round((state / 2^32 + cell) x 1024), halves to even, in integers.
std::int32_t ExactDraw(std::uint32_t& state, int cell) {
    state = state * 134775813u + 1u;
    const std::uint32_t rest = state & 0x3FFFFFu;
    const std::uint32_t whole = (state >> 22) + (rest > 0x200000u || (rest == 0x200000u && (state >> 22 & 1u)));
    return cell * 1024 + static_cast<std::int32_t>(whole);
}

TEST(RandomSource, SeedsFromTheCountersLow32BitsOrTheTickCountWhenTheCounterFails) {
    // (BuildLattice's exact draws below follow the sequence from the seed.)
    const struct {
        std::optional<std::int64_t> counter;
        std::uint32_t state;
    } seeds[] = {{0x123456789ABCDEF0, 0x9ABCDEF0u}, {-1, 0xFFFFFFFFu}, {0, 0u} /* a reading */, {std::nullopt, 7u}};
    for (const auto& row : seeds) {
        FixedClock clock;
        clock.counter = row.counter;
        clock.tickCount = 7u;
        RandomSource random;
        random.Seed(12345u);
        random.SeedFromClock(clock);
        EXPECT_EQ(random.State(), row.state);
    }
}

TEST(BuildLatticeAndShiftLayers, DrawXYZPerPointLayersInnerRowsThenColumnsEachInItsBand) {
    for (const std::uint32_t seed : {12345u, 0u, 0xFFFFFFFFu}) {
        std::uint32_t state = seed;
        Scene scene = SeededScene(seed);
        EXPECT_TRUE(SameLattice(scene.lattice, Fill([&state](int j, int k, int l) {
            return FeaturePoint{ExactDraw(state, j), ExactDraw(state, k), ExactDraw(state, l)};
        }))) << seed;
        // The shift moves layers down and draws a fresh layer 3.
        const FeatureLattice before = scene.lattice;
        ShiftLayers(scene);
        EXPECT_TRUE(SameLattice(scene.lattice, Fill([&](int j, int k, int l) {
            if (l == 3) return FeaturePoint{ExactDraw(state, j), ExactDraw(state, k), ExactDraw(state, 3)};
            const FeaturePoint& above = before[PointIndex(j, k, l + 1)];
            return FeaturePoint{above.x, above.y, above.z - 1024};
        }))) << seed;
        EXPECT_EQ(scene.random.State(), state);
    }
}

TEST(BuildLatticeAndShiftLayers, RoundHalvesToEvenAndMayReachTheUpperBound) {
    const struct {
        std::uint32_t state;
        std::int32_t offset;  // above the band's lower bound
    } rows[] = {{0x00200000u, 0}, {0x00600000u, 2}, {0x00200001u, 1}, {0xFFDFFFFFu, 1023}, {0xFFE00000u, 1024}};
    for (const auto& row : rows) {
        // The first draw of BuildLattice is x of cell (0, 0) layer 0; the third of ShiftLayers z of layer 3.
        EXPECT_EQ(SeededScene(StepBack(row.state)).lattice[0].x, row.offset) << std::hex << row.state;
        Scene scene;
        scene.random.Seed(StepBack(StepBack(StepBack(row.state))));
        ShiftLayers(scene);
        EXPECT_EQ(scene.lattice[PointIndex(0, 0, 3)].z, 3072 + row.offset) << std::hex << row.state;
    }
}

// The stall and wrap rule: at most one shift per frame, and a clock gone back
// more than a unit (timeGetTime wraps) is a new start.
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
        EXPECT_TRUE(SameLattice(scene.lattice, expected.lattice)) << row.what;
        EXPECT_EQ(scene.random.State(), expected.random.State()) << row.what;
    }
}

}  // namespace
}  // namespace mosaika
