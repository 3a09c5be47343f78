// Fuzzes the number readers and conversions. The rules hold for every input:
// the strict reader agrees bit for bit with the C library's correctly rounded
// strtod on every text it accepts, and the lenient reader with it there;
// rounding lands within its distance with halves to even, out of range gives
// nothing; the texts the settings are written with read back as the same value.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "FuzzHarness.h"
#include "Numbers.h"

namespace {

using namespace mosaika;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

template <typename Int>
std::optional<Int> IfInRange(double whole) {
    if (!(whole >= std::numeric_limits<Int>::min() && whole <= std::numeric_limits<Int>::max())) return std::nullopt;
    return static_cast<Int>(whole);
}

void CheckRounding(double x) {
    const double r = RoundHalfEven(x);
    if (!std::isfinite(x)) {
        FUZZ_CHECK(SameBits(r, x) || (std::isnan(x) && std::isnan(r)), "RoundHalfEven keeps NaN and infinities");
        FUZZ_CHECK(!RoundToInt32(x), "RoundToInt32 refuses NaN and infinities");
        return;
    }
    FUZZ_CHECK(r == std::floor(r) && std::fabs(r - x) <= 0.5, "RoundHalfEven gives the nearest whole number");
    FUZZ_CHECK(std::fabs(r - x) < 0.5 || std::fmod(r, 2.0) == 0.0, "RoundHalfEven sends halves to even");
    FUZZ_CHECK(RoundToInt32(x) == IfInRange<std::int32_t>(r), "RoundToInt32 is RoundHalfEven when it fits");
}

void CheckLenientReader(std::string_view text) {
    const double value = ReadLenientNumber(text);
    FUZZ_CHECK(!std::isnan(value), "ReadLenientNumber never gives NaN");
    CheckRounding(value);
    FUZZ_CHECK(SameBits(ReadLenientNumber(text.substr(0, text.find('\0'))), value), "it stops at a zero byte");
    FUZZ_CHECK(SameBits(ReadLenientNumber(std::string(text) + "x"), value), "it stops where a number cannot go on");
}

void CheckStrictReader(std::string_view text) {
    const std::optional<double> parsed = ParseNumber(text);
    if (!parsed) {
        FUZZ_CHECK(!FloorToInt16(text) && !RoundToInt16(text), "no number, no 16-bit value");
        return;
    }
    const std::string copy(text);
    char* end = nullptr;
    const double reference = std::strtod(copy.c_str(), &end);
    FUZZ_CHECK(std::strspn(end, " \t") == std::strlen(end), "strtod reads the whole number ParseNumber accepted");
    FUZZ_CHECK(SameBits(*parsed, reference), "ParseNumber gives the correctly rounded double, as strtod does");
    FUZZ_CHECK(SameBits(ReadLenientNumber(text), *parsed), "the lenient reader agrees on a strict number");
    FUZZ_CHECK(ParseNumber(" \t" + copy + "\t ") == parsed, "blanks around a strict number do not matter");
    CheckRounding(*parsed);
    FUZZ_CHECK(FloorToInt16(text) == IfInRange<std::int16_t>(std::floor(*parsed)), "FloorToInt16 floors or refuses");
    FUZZ_CHECK(RoundToInt16(text) == IfInRange<std::int16_t>(RoundHalfEven(*parsed)), "RoundToInt16 rounds or refuses");
}

void CheckWrittenTexts(std::int32_t wide) {
    const auto narrow = static_cast<std::int16_t>(wide & 0xFFFF);
    const std::string text = FormatLeadingBlank(narrow);
    FUZZ_CHECK((text[0] == ' ') == (narrow >= 0), "a leading blank for 0 and above, a minus sign below");
    FUZZ_CHECK(FloorToInt16(text) == narrow && RoundToInt16(text) == narrow, "a written 16-bit value reads back");
    FUZZ_CHECK(ReadLenientNumber(text) == narrow, "a written 16-bit value reads back leniently");
    FUZZ_CHECK(ParseNumber(FormatLeadingBlank(wide)) == static_cast<double>(wide), "a written 32-bit value reads back");
    const std::string track = FormatTrackNumber(wide);
    FUZZ_CHECK(track.empty() == (wide == 0), "the track pattern is empty for 0 only");
    FUZZ_CHECK(track.empty() || (track[0] != ' ' && ParseNumber(track) == wide), "a track number reads back, no blank");
}

void FuzzOne(std::string_view bytes) {
    CheckLenientReader(bytes);
    CheckStrictReader(bytes);
    // The first bytes once more as raw values: doubles of every kind and every 16- and 32-bit integer.
    double raw = 0.0;
    std::memcpy(&raw, bytes.data(), std::min(bytes.size(), sizeof raw));
    CheckRounding(raw);
    std::int32_t wide = 0;
    std::memcpy(&wide, bytes.data(), std::min(bytes.size(), sizeof wide));
    CheckWrittenTexts(wide);
}

}  // namespace
