// Fuzzes the command-line readers. For any bytes an ASCII start reads as bytes
// do. Arbitrary bytes rarely form long characters, so each input is also
// mapped onto well-formed UTF-8 mixing one-, two-, three- and four-byte
// characters, which is checked against a plain reference on the UTF-16 code
// units the platform counts.
#include <string>
#include <vector>

#include "CommandLine.h"
#include "FuzzHarness.h"
#include "Numbers.h"

namespace {

using namespace mosaika;

struct Char {
    std::size_t offset, bytes;
    int units;  // 2 for a surrogate pair
};

// Well-formed UTF-8 text and its characters: bytes below 0x80 stay, the others
// become a Latin letter, a full-width form, a katakana or an emoji.
struct Text {
    std::string bytes;
    std::vector<Char> chars;
};
Text WellFormedFrom(std::string_view bytes) {
    Text text;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        std::uint32_t code = b < 0x80 ? b : b < 0xC0 ? 0x00C0u + b - 0x80 : b < 0xE0 ? 0xFF10u + b - 0xC0
                                                      : b < 0xF0 ? 0x30A0u + b - 0xE0 : 0x1F600u + b - 0xF0;
        const int length = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        text.chars.push_back({text.bytes.size(), static_cast<std::size_t>(length), length == 4 ? 2 : 1});
        std::string encoded(static_cast<std::size_t>(length), '\0');
        for (auto k = static_cast<std::size_t>(length - 1); k > 0; --k, code >>= 6) {
            encoded[k] = static_cast<char>(0x80 | (code & 0x3F));
        }
        encoded[0] = static_cast<char>(length == 1 ? code : ((0xFF00u >> length) & 0xFFu) | code);
        text.bytes += encoded;
    }
    return text;
}

// The action of a mode letter: only the ASCII letters P, C and S (either case) select one.
ModeAction ActionOf(std::string_view letter, bool emptyCommandLine) {
    const char c = letter.size() == 1 ? static_cast<char>(letter[0] & ~0x20) : '\0';
    return c == 'P' ? ModeAction::Preview : c == 'C' ? ModeAction::Settings : c == 'S' ? ModeAction::SaverCursorHidden
           : emptyCommandLine ? ModeAction::SaverCursorVisible : ModeAction::EndSilently;
}

std::int32_t HandleFrom(std::string_view rest) { return RoundToInt32(ReadLenientNumber(rest)).value_or(0); }

// The readers as the platform's UTF-16 text defines them: the letter is the
// character holding unit 1, the handle is read from unit 3 on.
void CheckAgainstUtf16(const Text& well) {
    const std::string_view text = well.bytes;
    std::string_view letter;
    std::int32_t handle = 0;
    int unit = 0;  // of the character's first unit
    for (const Char& c : well.chars) {
        if (unit <= 1 && 1 < unit + c.units) letter = text.substr(c.offset, c.bytes);
        if (unit == 3) handle = HandleFrom(text.substr(c.offset));  // none when unit 3 is half a pair
        unit += c.units;
    }
    FUZZ_CHECK(ModeActionFor(text) == ActionOf(letter, text.empty()), "the character holding unit 1 picks the mode");
    FUZZ_CHECK(HostWindowHandle(text) == handle, "HostWindowHandle reads from the fourth UTF-16 unit on");
}

void FuzzOne(std::string_view bytes) {
    const ModeAction action = ModeActionFor(bytes);
    const std::int32_t handle = HostWindowHandle(bytes);
    // An ASCII start reads as bytes do, whatever follows.
    if (bytes.size() >= 3 && static_cast<signed char>(bytes[0]) >= 0 && static_cast<signed char>(bytes[1]) >= 0 &&
        static_cast<signed char>(bytes[2]) >= 0) {
        FUZZ_CHECK(action == ActionOf(bytes.substr(1, 1), false), "an ASCII second character is the letter");
        FUZZ_CHECK(handle == HandleFrom(bytes.substr(3)), "an ASCII start's handle is read from byte 3");
    }
    CheckAgainstUtf16(WellFormedFrom(bytes));
}

}  // namespace
