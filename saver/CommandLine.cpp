#include "CommandLine.h"

#include "AsciiCase.h"
#include "Numbers.h"

#include <string>

namespace mosaika {

namespace {

struct Utf8Char {
    std::size_t bytes;
    int units;  // UTF-16 code units the platform counts for it
};

// The character starting at pos. A malformed or cut-off sequence counts as
// one byte and one position, so every byte is stepped over exactly once.
Utf8Char CharAt(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    if ((lead >> 5) == 0x06) {
        length = 2;
    } else if ((lead >> 4) == 0x0E) {
        length = 3;
    } else if ((lead >> 3) == 0x1E) {
        length = 4;
    }
    if (pos + length > text.size()) {
        return {1, 1};
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[pos + k]) & 0xC0) != 0x80) {
            return {1, 1};
        }
    }
    return {length, length == 4 ? 2 : 1};
}

// The second character, an ASCII letter folded to upper case; empty when the
// command line is shorter than two characters. Any other character comes back
// as the UTF-8 of the character holding that position.
std::string ModeLetter(std::string_view commandLine) {
    int units = 0;
    for (std::size_t pos = 0; pos < commandLine.size();) {
        const Utf8Char c = CharAt(commandLine, pos);
        units += c.units;
        if (units >= 2) {
            std::string letter(commandLine.substr(pos, c.bytes));
            if (letter.size() == 1) letter[0] = AsciiUpper(letter[0]);
            return letter;
        }
        pos += c.bytes;
    }
    return {};
}

}  // namespace

std::int32_t HostWindowHandle(std::string_view commandLine) {
    int units = 0;
    std::size_t pos = 0;
    while (units < 3 && pos < commandLine.size()) {
        const Utf8Char c = CharAt(commandLine, pos);
        units += c.units;
        pos += c.bytes;
    }
    if (units > 3) {
        // The third position held the first half of a surrogate pair: the
        // text from the fourth on starts with the second half, no number.
        return 0;
    }
    return RoundToInt32(ReadLenientNumber(commandLine.substr(pos))).value_or(0);
}

ModeAction ModeActionFor(std::string_view commandLine) {
    const std::string letter = ModeLetter(commandLine);
    if (letter == "P") {
        return ModeAction::Preview;
    }
    if (letter == "C") {
        return ModeAction::Settings;
    }
    if (letter == "S") {
        return ModeAction::SaverCursorHidden;
    }
    if (commandLine.empty()) {
        return ModeAction::SaverCursorVisible;
    }
    return ModeAction::EndSilently;
}

}  // namespace mosaika
