// Fuzzes the number readers and conversions with arbitrary bytes. The rules
// checked here hold for every input, so any abort is a fault in Numbers.cpp:
//  - the strict reader agrees bit for bit with the C library's correctly
//    rounded strtod on every text it accepts, and the lenient reader agrees
//    with the strict one there;
//  - the lenient reader ignores blanks, stops at a zero byte and at any
//    character that cannot continue a number, and is symmetric in its sign;
//  - Floor and Round into 16 or 32 bits land within their rounding distance,
//    halves go to even, and out-of-range values give nothing;
//  - the texts the settings are written with read back as the same value.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "Numbers.h"

namespace {

using mosaika::FloorToInt16;
using mosaika::FormatLeadingBlank;
using mosaika::FormatTrackNumber;
using mosaika::ParseNumber;
using mosaika::ReadLenientNumber;
using mosaika::RoundHalfEven;
using mosaika::RoundToInt16;
using mosaika::RoundToInt32;

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool IsLenientBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

template <typename Int>
std::optional<Int> IfInRange(double whole) {
    if (whole >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        whole <= static_cast<double>(std::numeric_limits<Int>::max())) {
        return static_cast<Int>(whole);
    }
    return std::nullopt;
}

void CheckRounding(double x) {
    const double r = RoundHalfEven(x);
    if (std::isnan(x)) {
        FUZZ_CHECK(std::isnan(r), "RoundHalfEven keeps NaN");
    } else if (std::isinf(x)) {
        FUZZ_CHECK(r == x, "RoundHalfEven keeps infinities");
    } else {
        FUZZ_CHECK(r == std::floor(r), "RoundHalfEven gives a whole number");
        const double distance = std::fabs(r - x);
        FUZZ_CHECK(distance <= 0.5, "RoundHalfEven moves by at most one half");
        if (distance == 0.5) {
            FUZZ_CHECK(std::fmod(r, 2.0) == 0.0, "RoundHalfEven sends halves to the even neighbour");
        }
        FUZZ_CHECK(RoundHalfEven(-x) == -r, "RoundHalfEven is symmetric in the sign");
    }

    const std::optional<std::int32_t> rounded = RoundToInt32(x);
    const std::optional<std::int32_t> expected =
        std::isfinite(x) ? IfInRange<std::int32_t>(r) : std::nullopt;
    FUZZ_CHECK(rounded == expected, "RoundToInt32 is RoundHalfEven when it fits, nothing otherwise");
}

void CheckLenientReader(std::string_view text) {
    const double value = ReadLenientNumber(text);
    FUZZ_CHECK(!std::isnan(value), "ReadLenientNumber never gives NaN");
    CheckRounding(value);

    std::string withoutBlanks;
    for (char c : text) {
        if (!IsLenientBlank(c)) {
            withoutBlanks += c;
        }
    }
    FUZZ_CHECK(SameBits(ReadLenientNumber(withoutBlanks), value), "ReadLenientNumber skips blanks anywhere");

    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) {
        FUZZ_CHECK(SameBits(ReadLenientNumber(text.substr(0, zero)), value),
                   "ReadLenientNumber stops at a zero byte");
    }

    FUZZ_CHECK(SameBits(ReadLenientNumber(std::string(text) + "x"), value),
               "a character that cannot continue a number does not change it");

    if (withoutBlanks.empty() || (withoutBlanks[0] != '+' && withoutBlanks[0] != '-')) {
        FUZZ_CHECK(ReadLenientNumber("-" + std::string(text)) == -value,
                   "a minus sign in front negates the number");
    }
}

void CheckStrictReader(std::string_view text) {
    const std::optional<double> parsed = ParseNumber(text);
    if (!parsed) {
        FUZZ_CHECK(!FloorToInt16(text) && !RoundToInt16(text), "no number, no 16-bit value");
        return;
    }
    FUZZ_CHECK(!std::isnan(*parsed), "ParseNumber never gives NaN");
    for (char c : text) {
        FUZZ_CHECK(std::strchr("0123456789+-.eE \t", c) != nullptr && c != '\0',
                   "ParseNumber accepts only digits, signs, a point, E and blanks");
    }

    // The text holds no zero byte (checked above), so the C library reads all of it.
    const std::string copy(text);
    char* end = nullptr;
    const double reference = std::strtod(copy.c_str(), &end);
    for (const char* rest = end; *rest != '\0'; ++rest) {
        FUZZ_CHECK(*rest == ' ' || *rest == '\t', "strtod reads the whole number ParseNumber accepted");
    }
    FUZZ_CHECK(SameBits(*parsed, reference), "ParseNumber gives the correctly rounded double, as strtod does");
    FUZZ_CHECK(SameBits(ReadLenientNumber(text), *parsed), "the lenient reader agrees on a strict number");
    FUZZ_CHECK(ParseNumber(" \t" + copy + "\t ") == parsed, "blanks around a strict number do not matter");
    CheckRounding(*parsed);

    const std::optional<std::int16_t> floored = FloorToInt16(text);
    FUZZ_CHECK(floored == IfInRange<std::int16_t>(std::floor(*parsed)),
               "FloorToInt16 floors toward minus infinity and refuses what does not fit");
    if (floored) {
        FUZZ_CHECK(*floored <= *parsed && *parsed < *floored + 1.0, "the floor lies within one below");
    }

    const std::optional<std::int16_t> rounded = RoundToInt16(text);
    FUZZ_CHECK(rounded == IfInRange<std::int16_t>(RoundHalfEven(*parsed)),
               "RoundToInt16 rounds halves to even and refuses what does not fit");
    if (rounded) {
        FUZZ_CHECK(std::fabs(*rounded - *parsed) <= 0.5, "the rounded value lies within one half");
    }
}

void CheckWrittenTexts(std::int32_t wide) {
    const auto narrow = static_cast<std::int16_t>(wide & 0xFFFF);
    const std::string text = FormatLeadingBlank(narrow);
    FUZZ_CHECK((text[0] == ' ') == (narrow >= 0), "a leading blank for 0 and above, a minus sign below");
    FUZZ_CHECK(FloorToInt16(text) == narrow, "FloorToInt16(FormatLeadingBlank(v)) == v");
    FUZZ_CHECK(RoundToInt16(text) == narrow, "RoundToInt16(FormatLeadingBlank(v)) == v");
    FUZZ_CHECK(ReadLenientNumber(text) == narrow, "a written 16-bit value reads back leniently");

    const std::string wideText = FormatLeadingBlank(wide);
    FUZZ_CHECK(ParseNumber(wideText) == static_cast<double>(wide), "a written 32-bit value reads back");
    FUZZ_CHECK(RoundToInt32(ReadLenientNumber(wideText)) == wide, "a written 32-bit value rounds back");

    const std::string track = FormatTrackNumber(wide);
    FUZZ_CHECK(track.empty() == (wide == 0), "the track pattern is empty for 0 only");
    if (!track.empty()) {
        FUZZ_CHECK(track[0] != ' ', "the track pattern has no leading blank");
        FUZZ_CHECK(ParseNumber(track) == static_cast<double>(wide), "a track number reads back");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckLenientReader(text);
    CheckStrictReader(text);

    // The first bytes once more as raw values: doubles of every kind (NaN,
    // infinities, subnormals, huge) and every 16- and 32-bit integer.
    double raw = 0.0;
    std::memcpy(&raw, data, std::min(size, sizeof raw));
    CheckRounding(raw);
    std::int32_t wide = 0;
    std::memcpy(&wide, data, std::min(size, sizeof wide));
    CheckWrittenTexts(wide);
    return 0;
}
