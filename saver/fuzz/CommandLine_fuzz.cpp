// Fuzzes the command-line readers with arbitrary bytes. Well-formed UTF-8 is
// checked against a plain reference that decodes the text into the UTF-16
// code units the platform counts; for any bytes at all, the three readers
// must agree with each other and with the readers of an ASCII command line.
// Arbitrary bytes rarely form long characters, so each input is also mapped
// onto a well-formed text mixing one-, two-, three- and four-byte characters.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "FuzzCheck.h"
#include "Numbers.h"

namespace {

using mosaika::HostWindowHandle;
using mosaika::ModeAction;
using mosaika::ModeActionFor;
using mosaika::ModeLetter;

struct DecodedChar {
    std::size_t offset;  // first byte in the text
    std::size_t bytes;
    int units;  // 2 for a surrogate pair
};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
// Nothing when the text is not well formed.
std::optional<std::vector<DecodedChar>> DecodeUtf8(std::string_view text) {
    std::vector<DecodedChar> chars;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t bytes = 0;
        std::uint32_t code = 0;
        std::uint32_t least = 0;
        if (lead < 0x80) {
            bytes = 1, code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            bytes = 2, code = lead & 0x1Fu, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            bytes = 3, code = lead & 0x0Fu, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            bytes = 4, code = lead & 0x07u, least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (pos + bytes > text.size()) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k < bytes; ++k) {
            const auto trail = static_cast<unsigned char>(text[pos + k]);
            if ((trail & 0xC0) != 0x80) {
                return std::nullopt;
            }
            code = (code << 6) | (trail & 0x3Fu);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return std::nullopt;
        }
        chars.push_back({pos, bytes, code >= 0x10000 ? 2 : 1});
        pos += bytes;
    }
    return chars;
}

std::string EncodeUtf8(std::uint32_t code) {
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

// Bytes below 0x80 stay; the others pick a Latin, a CJK or full-width, or an
// emoji character, so every length of UTF-8 sequence turns up often.
std::string WellFormedFrom(std::string_view bytes) {
    std::string text;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            text += c;
        } else if (b < 0xC0) {
            text += EncodeUtf8(0x00C0u + (b - 0x80u));  // À..
        } else if (b < 0xE0) {
            text += EncodeUtf8(0xFF10u + (b - 0xC0u));  // full-width digits and letters
        } else if (b < 0xF0) {
            text += EncodeUtf8(0x30A0u + (b - 0xE0u));  // katakana
        } else {
            text += EncodeUtf8(0x1F600u + (b - 0xF0u));  // outside the BMP: two units
        }
    }
    return text;
}

std::string FoldAscii(std::string letter) {
    if (letter.size() == 1 && letter[0] >= 'a' && letter[0] <= 'z') {
        letter[0] = static_cast<char>(letter[0] - 'a' + 'A');
    }
    return letter;
}

std::int32_t HandleFrom(std::string_view rest) {
    return mosaika::RoundToInt32(mosaika::ReadLenientNumber(rest)).value_or(0);
}

// The readers as the platform's UTF-16 text defines them, on decoded text.
void CheckAgainstUtf16(std::string_view text, const std::vector<DecodedChar>& chars) {
    std::string letter;
    std::optional<std::int32_t> handle;
    int unit = 0;  // UTF-16 index of the character's first unit
    for (const DecodedChar& c : chars) {
        if (letter.empty() && unit <= 1 && 1 < unit + c.units) {
            letter = FoldAscii(std::string(text.substr(c.offset, c.bytes)));
        }
        if (!handle && unit == 3) {
            handle = HandleFrom(text.substr(c.offset));
        } else if (!handle && unit == 2 && c.units == 2) {
            handle = 0;  // the fourth unit is the second half of a pair
        }
        unit += c.units;
    }
    if (!handle) {
        handle = 0;  // fewer than four units: nothing from the fourth on
    }
    FUZZ_CHECK(ModeLetter(text) == letter, "ModeLetter is the character holding the second UTF-16 unit");
    FUZZ_CHECK(HostWindowHandle(text) == *handle, "HostWindowHandle reads from the fourth UTF-16 unit on");
}

void CheckAnyBytes(std::string_view text) {
    const std::string letter = ModeLetter(text);
    const ModeAction action = ModeActionFor(text);
    ModeAction expected = ModeAction::EndSilently;
    if (letter == "P") {
        expected = ModeAction::Preview;
    } else if (letter == "C") {
        expected = ModeAction::Settings;
    } else if (letter == "S") {
        expected = ModeAction::SaverCursorHidden;
    } else if (text.empty()) {
        expected = ModeAction::SaverCursorVisible;
    }
    FUZZ_CHECK(action == expected, "ModeActionFor follows ModeLetter");

    FUZZ_CHECK(letter.size() <= 4, "a mode letter is one character");
    if (text.size() >= 4 || (text.size() >= 2 && static_cast<unsigned char>(text[0]) < 0x80)) {
        // A character takes at most four bytes, and four only as a pair of units.
        FUZZ_CHECK(!letter.empty(), "a command line this long has a second position");
    }
    if (letter.size() == 1) {
        FUZZ_CHECK(!(letter[0] >= 'a' && letter[0] <= 'z'), "the mode letter is folded to upper case");
    }

    const std::int32_t handle = HostWindowHandle(text);
    if (handle != 0) {
        FUZZ_CHECK(text.size() > 3 && text.substr(3).find_first_of("0123456789") != std::string_view::npos,
                   "a host handle comes from digits after the third byte");
    }

    // Three ASCII characters first: positions and bytes coincide there.
    if (text.size() >= 3 && static_cast<unsigned char>(text[0]) < 0x80 &&
        static_cast<unsigned char>(text[1]) < 0x80 && static_cast<unsigned char>(text[2]) < 0x80) {
        FUZZ_CHECK(letter == FoldAscii(std::string(1, text[1])), "an ASCII second character is the letter");
        FUZZ_CHECK(handle == HandleFrom(text.substr(3)), "an ASCII command line's handle starts at byte 3");

        std::string swapped(text);
        const char second = swapped[1];
        if (second >= 'a' && second <= 'z') {
            swapped[1] = static_cast<char>(second - 'a' + 'A');
        } else if (second >= 'A' && second <= 'Z') {
            swapped[1] = static_cast<char>(second - 'A' + 'a');
        }
        FUZZ_CHECK(ModeActionFor(swapped) == action, "the mode letter is not case sensitive");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckAnyBytes(text);
    if (const auto chars = DecodeUtf8(text)) {
        CheckAgainstUtf16(text, *chars);
    }

    const std::string wellFormed = WellFormedFrom(text);
    CheckAnyBytes(wellFormed);
    const auto chars = DecodeUtf8(wellFormed);
    FUZZ_CHECK(chars.has_value(), "the mapped text is well-formed UTF-8");
    CheckAgainstUtf16(wellFormed, *chars);
    return 0;
}
