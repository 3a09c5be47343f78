// What the screen saver program reads from its command line: the mode letter,
// the preview host's window handle, and the action the mode letter selects.
//
// The command line is the argument text the platform hands over, without the
// program's own path and the blanks after it (what wWinMain receives), as
// UTF-8. Positions count characters the way the platform's UTF-16 text does:
// a character outside the Basic Multilingual Plane takes two positions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mosaika {

// The second character folded to upper case; empty when the command line is
// shorter than two characters. Only ASCII letters are folded, so no other
// character can turn into a mode letter ("/ſ" stays apart from "/S"). A
// second character that is not ASCII comes back as the UTF-8 of the character
// holding that position.
std::string ModeLetter(std::string_view commandLine);

// The text from the fourth character on, read by ReadLenientNumber and
// Round into 32 bits: "/p 1234" and "/p:1234" give 1234. No number, or one
// outside the signed 32-bit range, gives 0, which is no window.
std::int32_t HostWindowHandle(std::string_view commandLine);

enum class ModeAction {
    Preview,             // "P": embed the preview window into the host's window
    Settings,            // "C": settings dialog, then end
    SaverCursorHidden,   // "S": saver run with the mouse cursor hidden
    SaverCursorVisible,  // empty command line: saver run, cursor left alone
    EndSilently,         // anything else, a single character included
};

ModeAction ModeActionFor(std::string_view commandLine);

}  // namespace mosaika
