// The two facts about Shift-JIS (code page 932) text that the settings rules
// work by: which bytes open a two-byte character, and ASCII letter case,
// which never reaches the second byte of one.
#pragma once

namespace mosaika {

// 0x81..0x9F and 0xE0..0xFC open a two-byte character, whose second byte may
// be any of 0x40..0xFC, the backslash and ASCII letters among them.
constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace mosaika
