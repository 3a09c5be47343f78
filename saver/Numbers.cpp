#include "Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace mosaika {

namespace {

// A decimal exponent this large in magnitude is far outside double's range
// either way; capping the accumulated exponent keeps its arithmetic in range
// however many digits the text holds.
constexpr std::int64_t kExponentCap = 1'000'000'000;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The pieces of a number read from text: value = digits x 10^scale.
struct ScannedNumber {
    bool negative = false;
    std::string digits;
    std::int64_t scale = 0;
};

// One reader for both forms. Lenient: blanks (space, tab, line feed) are
// skipped everywhere, exponents are E or D, reading stops at the first
// character that cannot continue the number and nothing is an error.
// Strict: blanks only around the number, exponent E with digits required,
// and the whole text must be used.
class NumberScanner {
public:
    NumberScanner(std::string_view text, bool lenient) : text_(text), lenient_(lenient) {}

    std::optional<ScannedNumber> Scan() {
        ScannedNumber number;
        SkipOuterBlanks();
        if (Peek() == '+' || Peek() == '-') {
            number.negative = Peek() == '-';
            Advance();
        }
        bool point = false;
        std::int64_t fractionDigits = 0;
        for (;;) {
            const char c = Peek();
            if (IsDigit(c)) {
                number.digits += c;
                fractionDigits += point ? 1 : 0;
            } else if (c == '.' && !point) {
                point = true;
            } else {
                break;
            }
            Advance();
        }
        if (number.digits.empty()) {
            return std::nullopt;
        }
        const std::optional<std::int64_t> exponent = ScanExponent();
        if (!exponent) {
            return std::nullopt;
        }
        number.scale = *exponent - fractionDigits;
        SkipOuterBlanks();
        if (!lenient_ && pos_ != text_.size()) {
            return std::nullopt;
        }
        return number;
    }

private:
    bool IsBlank(char c) const {
        return c == ' ' || c == '\t' || (lenient_ && c == '\n');
    }

    void SkipOuterBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
            ++pos_;
        }
    }

    // The next character, past inner blanks when reading leniently; '\0' at
    // the end (a NUL in the text ends the number just the same).
    char Peek() {
        if (lenient_) {
            SkipOuterBlanks();
        }
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }

    void Advance() { ++pos_; }

    bool IsExponentLetter(char c) const {
        return c == 'E' || c == 'e' || (lenient_ && (c == 'D' || c == 'd'));
    }

    // 0 when there is no exponent. A letter without digits is ignored when
    // reading leniently ("2E" reads 2) and spoils the text when strict.
    std::optional<std::int64_t> ScanExponent() {
        if (!IsExponentLetter(Peek())) {
            return 0;
        }
        Advance();
        bool negative = false;
        if (Peek() == '+' || Peek() == '-') {
            negative = Peek() == '-';
            Advance();
        }
        bool anyDigit = false;
        std::int64_t value = 0;
        while (IsDigit(Peek())) {
            value = std::min(value * 10 + (Peek() - '0'), kExponentCap);
            anyDigit = true;
            Advance();
        }
        if (!anyDigit) {
            return lenient_ ? std::optional<std::int64_t>{0} : std::nullopt;
        }
        return negative ? -value : value;
    }

    std::string_view text_;
    bool lenient_;
    std::size_t pos_ = 0;
};

// The double nearest to digits x 10^scale (correctly rounded by from_chars,
// which ignores the locale); beyond double's range, infinity or zero.
double ToDouble(const ScannedNumber& number) {
    std::string_view digits = number.digits;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string_view::npos) {
        return number.negative ? -0.0 : 0.0;
    }
    digits.remove_prefix(first);
    const std::size_t last = digits.find_last_not_of('0');
    std::int64_t scale = number.scale + static_cast<std::int64_t>(digits.size() - 1 - last);
    digits = digits.substr(0, last + 1);

    // The value lies in [10^(magnitude - 1), 10^magnitude).
    const std::int64_t magnitude = scale + static_cast<std::int64_t>(digits.size());
    double value = 0.0;
    if (magnitude > 400) {
        value = std::numeric_limits<double>::infinity();
    } else if (magnitude >= -400) {
        const std::string text = std::string(digits) + 'e' + std::to_string(scale);
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec == std::errc::result_out_of_range) {
            value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        }
    }
    return number.negative ? -value : value;
}

template <typename Int>
std::optional<Int> ToInteger(double whole) {
    if (!(whole >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          whole <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        return std::nullopt;  // also NaN
    }
    return static_cast<Int>(whole);
}

}  // namespace

double ReadLenientNumber(std::string_view text) {
    const std::optional<ScannedNumber> number = NumberScanner(text, true).Scan();
    return number ? ToDouble(*number) : 0.0;
}

std::optional<double> ParseNumber(std::string_view text) {
    const std::optional<ScannedNumber> number = NumberScanner(text, false).Scan();
    if (!number) {
        return std::nullopt;
    }
    return ToDouble(*number);
}

double RoundHalfEven(double x) {
    if (!std::isfinite(x)) {
        return x;
    }
    // x - floor(x) is exact for every finite double, so the tie test is exact.
    double whole = std::floor(x);
    const double fraction = x - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    return whole;
}

std::optional<std::int32_t> RoundToInt32(double x) {
    return ToInteger<std::int32_t>(RoundHalfEven(x));
}

std::optional<std::int16_t> RoundToInt16(double x) {
    return ToInteger<std::int16_t>(RoundHalfEven(x));
}

std::optional<std::int16_t> FloorToInt16(std::string_view text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value) {
        return std::nullopt;
    }
    return ToInteger<std::int16_t>(std::floor(*value));
}

std::optional<std::int16_t> RoundToInt16(std::string_view text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value) {
        return std::nullopt;
    }
    return RoundToInt16(*value);
}

std::string FormatLeadingBlank(std::int32_t value) {
    return value >= 0 ? ' ' + std::to_string(value) : std::to_string(value);
}

std::string FormatTrackNumber(std::int32_t value) {
    return value == 0 ? std::string() : std::to_string(value);
}

}  // namespace mosaika
