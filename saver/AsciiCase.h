// ASCII letter case, the only case the programs fold: a to z and A to Z, one
// byte at a time. Every other byte stays as it is, so a Shift-JIS second byte
// or a UTF-8 sequence may pass through; where that matters, the caller keeps
// such bytes out.
#pragma once

#include <string>
#include <string_view>

namespace mosaika {

constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = AsciiUpper(c);
    return upper;
}

}  // namespace mosaika
