#include "Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

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
        {"", 0, nullopt},           {"abc", 0, nullopt},         {" 2 ", 2, 2.0},
        {"\t7\t", 7, 7.0},          {"-1.5", -1.5, -1.5},        {"+3.", 3, 3.0},
        {".5", 0.5, 0.5},           {"1E-1", 0.1, 0.1},          {"12 34", 1234, nullopt},
        {"\n- 5", -5, nullopt},     {"--5", 0, nullopt},         {"12abc", 12, nullopt},
        {"1,000", 1, nullopt},      {".", 0, nullopt},           {"1.2.3", 1.2, nullopt},
        {"2E", 2, nullopt},         {"2.5d-1", 0.25, nullopt},   {"&H10", 0, nullopt},
        {std::string("12\0" "3", 4), 12, nullopt},
        {"0000000000000000000000001", 1, 1.0},
        {"-1e400", -kInf, -kInf},   {"1e99999999999999999999", kInf, kInf},
        {"1e-400", 0, 0.0},         {"0e99999999999999999999", 0, 0.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ReadLenientNumber(row.text), row.lenient);
        EXPECT_EQ(ParseNumber(row.text), row.strict);
    }
}

TEST(Numbers, RoundToInt32GoesToEvenAndRefusesWhatDoesNotFit) {
    const struct {
        double x;
        std::optional<std::int32_t> expected;
    } rows[] = {
        {2.5, 2},  {3.5, 4},  {-2.5, -2},  {-3.5, -4},  {2.5000000000000004, 3},
        {0.49999999999999994, 0},  // floor(x + 0.5) would give 1
        {2147483647.4, 2147483647},        {2147483647.5, nullopt},
        {-2147483648.5, -2147483647 - 1},  {-2147483648.6, nullopt},
        {kInf, nullopt},                   {std::nan(""), nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.x);
        EXPECT_EQ(RoundToInt32(row.x), row.expected);
    }
}

TEST(Numbers, SixteenBitConversionsFloorOrRoundThenCheckTheRange) {
    const struct {
        std::string text;
        std::optional<std::int16_t> floored;
        std::optional<std::int16_t> rounded;
    } rows[] = {
        {" 2", 2, 2},        {"2.9", 2, 3},           {"2.5", 2, 2},
        {"-1.5", -2, -2},    {"-0.5", -1, 0},         {"32767.5", 32767, nullopt},
        {"32768", nullopt, nullopt},                  {"-32768.5", nullopt, -32768},
        {"-32769", nullopt, nullopt},                 {"1e9999", nullopt, nullopt},
        {"", nullopt, nullopt},                       {"two", nullopt, nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(FloorToInt16(row.text), row.floored);
        EXPECT_EQ(RoundToInt16(row.text), row.rounded);
    }
}

TEST(Numbers, NumberTexts) {
    const struct {
        std::int32_t value;
        std::string leadingBlank;
        std::string track;
    } rows[] = {
        {0, " 0", ""}, {30, " 30", "30"}, {-3, "-3", "-3"},
        {std::numeric_limits<std::int32_t>::min(), "-2147483648", "-2147483648"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FormatLeadingBlank(row.value), row.leadingBlank);
        EXPECT_EQ(FormatTrackNumber(row.value), row.track);
    }
}

}  // namespace
}  // namespace mosaika
