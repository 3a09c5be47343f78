// The settings file's text, read and written as the profile functions of a
// Japanese Windows (ANSI code page 932) do, on its bytes alone, so a file
// reads and saves the same whatever the system's code page:
// - Lines end with CR, LF or CRLF; the last line may have none.
// - "[name]" opens a section (blanks around the brackets and the name do not
//   count; a missing "]" ends the name at the line's end); lines before the
//   first section belong to none. "name=value" is a key; a line starting with
//   ";" is a comment, a line without "=" no key.
// - Section and key names match with ASCII letters in either case, character
//   by character in Shift-JIS: the second byte of a double-byte character
//   (0x40..0xFC, "ソ" is 0x83 0x5C, "ア" 0x83 0x41) is never folded nor taken
//   for a "]".
// - Only the first section of a name counts, and in it only the first key of
//   a name.
// Blanks are space, tab and vertical tab.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mosaika {

// A value read back holds at most this many bytes: the platform reader's
// buffer of 256 bytes ends in a zero.
inline constexpr std::size_t kIniValueLimit = 255;

// The value of key in section, as GetPrivateProfileStringA with a 256-byte
// buffer gives it: without the blanks around it and one pair of matching
// quotes (' or ") that encloses it, cut at 255 bytes (never inside a
// double-byte character) and before a zero byte. Empty when section or key
// is missing. Spaces (not tabs) around the names given do not count.
std::string ReadIniValue(std::string_view file, std::string_view section, std::string_view key);

// The file with key in section set to value, as WritePrivateProfileStringA
// on a Japanese Windows leaves it, in place: an existing key keeps its name
// and everything up to its "=" and gets the value, unchanged, up to its line
// break; a new key follows the section's last key line (or its header); a
// new section goes at the end. New lines end in CRLF. Every other byte stays.
// Nothing when the value holds CR, LF or a zero byte, or a name cannot be
// stored ("]" in a section name; "=", or ";" or "[" first, in a key name;
// an empty key name; line breaks or zero bytes in either).
std::optional<std::string> WriteIniValue(std::string_view file, std::string_view section, std::string_view key,
                                         std::string_view value);

}  // namespace mosaika
