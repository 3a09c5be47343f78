// The number conversions of the screen saver program: the lenient decimal
// reader for the preview host handle, the strict reader for ini values and
// dialog texts, Round (halves to even) and Floor into fixed-width integers,
// and the two number texts the settings are written and shown with.
// Text is a byte string; only ASCII digits, signs, points, letters E/D and
// blanks take part in a number, so any other byte simply ends or spoils it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mosaika {

// Reads text as Val does: blanks (space, tab, line feed) anywhere are skipped,
// then an optional sign, digits with at most one decimal point, and an
// optional exponent (E or D, optional sign, digits). Reading stops at the
// first character that cannot continue the number; text without a number
// gives 0. Decimal only: "&H10" gives 0. A number too large for a double
// gives plus or minus infinity, one too small gives 0.
double ReadLenientNumber(std::string_view text);

// Reads text that must be a number as a whole: blanks (space, tab) before and
// after, an optional sign, digits with at most one decimal point (at least
// one digit), an optional exponent (E, optional sign, digits). Anything else,
// including the empty text, gives nothing.
std::optional<double> ParseNumber(std::string_view text);

// x rounded to the nearest integer, halves to the even neighbour, whatever
// the processor's rounding mode. Infinities and NaN come back unchanged.
double RoundHalfEven(double x);

// Round into a signed 32-bit integer. NaN, infinities and results outside
// -2147483648..2147483647 give nothing (never a clamped or wrapped value).
std::optional<std::int32_t> RoundToInt32(double x);

// Round into a signed 16-bit integer; results outside -32768..32767 (and NaN,
// infinities) give nothing.
std::optional<std::int16_t> RoundToInt16(double x);

// A whole text as ParseNumber reads it, floored toward minus infinity
// (2.9 gives 2, -1.5 gives -2) into a signed 16-bit integer. Not a number,
// or a result outside -32768..32767, gives nothing.
std::optional<std::int16_t> FloorToInt16(std::string_view text);

// A whole text as ParseNumber reads it, Round into a signed 16-bit integer.
// Not a number, or a result outside -32768..32767, gives nothing.
std::optional<std::int16_t> RoundToInt16(std::string_view text);

// The decimal text with one leading blank for 0 and above, a minus sign for
// negative values: 2 gives " 2", -3 gives "-3". Values are written this way.
std::string FormatLeadingBlank(std::int32_t value);

// The "##" pattern of a track number: 0 gives the empty text, any other
// value its plain decimal text (a minus sign for negative values).
std::string FormatTrackNumber(std::int32_t value);

}  // namespace mosaika
