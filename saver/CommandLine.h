// What the screen saver program reads from its command line: the mode letter,
// the preview host's window handle, and the action the mode letter selects.
//
// The command line is the argument text the platform hands over, without the
// program's own path and the blanks after it (what wWinMain receives), as
// UTF-8. Positions count characters the way the platform's UTF-16 text does:
// a character outside the Basic Multilingual Plane takes two positions.
#pragma once

#include <cstdint>
#include <string_view>

namespace mosaika {

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

// The action of the mode letter, the second character folded to upper case.
// Only ASCII letters fold, so no other character becomes one ("/ſ" is not "/S").
ModeAction ModeActionFor(std::string_view commandLine);

}  // namespace mosaika
