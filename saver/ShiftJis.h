// Which bytes open a two-byte character of Shift-JIS (code page 932) text,
// the fact the settings rules split their texts by.
#pragma once

namespace mosaika {

// 0x81..0x9F and 0xE0..0xFC open a two-byte character, whose second byte may
// be any of 0x40..0xFC, the backslash and ASCII letters among them.
constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace mosaika
