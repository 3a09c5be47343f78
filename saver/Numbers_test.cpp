// The edge rows of the number conversions; Numbers_fuzz checks the strict
// reader against strtod, the rounding against its definition and every
// written text against its reading for any input.
#include "Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <tuple>

namespace mosaika {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
using std::nullopt;

TEST(Numbers, LenientAndStrictReaders) {
    const struct {
        std::string text;
        double lenient;
        std::optional<double> strict;
    } rows[] = {
        {"", 0, nullopt},          {" 2 ", 2, 2.0},          {"+3.", 3, 3.0},           {".5", 0.5, 0.5},
        {"1E-1", 0.1, 0.1},        {"12 34", 1234, nullopt}, {"\n- 5", -5, nullopt},    {"--5", 0, nullopt},
        {"12abc", 12, nullopt},    {"1,000", 1, nullopt},    {"1.2.3", 1.2, nullopt},   {"2E", 2, nullopt},
        {"2.5d-1", 0.25, nullopt}, {"&H10", 0, nullopt},     {"-1e400", -kInf, -kInf},  {"1e-400", 0, 0.0},
        {"0e99999999999999999999", 0, 0.0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ReadLenientNumber(row.text), row.lenient) << row.text;
        EXPECT_EQ(ParseNumber(row.text), row.strict) << row.text;
    }
}

TEST(Numbers, RoundingGoesToEvenAndRefusesWhatDoesNotFit) {
    const std::pair<double, std::optional<std::int32_t>> rows[] = {
        {2.5, 2}, {-3.5, -4}, {0.49999999999999994, 0},  // floor(x + 0.5) would give 1
        {2147483647.5, nullopt}, {-2147483648.5, -2147483647 - 1}, {std::nan(""), nullopt},
    };
    for (const auto& [x, expected] : rows) EXPECT_EQ(RoundToInt32(x), expected) << x;

    const struct {
        std::string text;
        std::optional<std::int16_t> floored, rounded;
    } texts[] = {
        {"2.9", 2, 3},  {"-0.5", -1, 0}, {"32767.5", 32767, nullopt}, {"-32768.5", nullopt, -32768},
        {"two", nullopt, nullopt},
    };
    for (const auto& row : texts) {
        EXPECT_EQ(FloorToInt16(row.text), row.floored) << row.text;
        EXPECT_EQ(RoundToInt16(row.text), row.rounded) << row.text;
    }
}

TEST(Numbers, NumberTexts) {
    const std::tuple<std::int32_t, std::string, std::string> rows[] = {
        {0, " 0", ""}, {30, " 30", "30"}, {-3, "-3", "-3"}, {-2147483647 - 1, "-2147483648", "-2147483648"}};
    for (const auto& [value, leadingBlank, track] : rows) {
        EXPECT_EQ(FormatLeadingBlank(value), leadingBlank);
        EXPECT_EQ(FormatTrackNumber(value), track);
    }
}

}  // namespace
}  // namespace mosaika
