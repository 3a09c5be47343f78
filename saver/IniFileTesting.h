// The ini reader's and writer's rows: a file, one read or write, and what a
// Japanese Windows gives. Settings_test checks them natively; SettingsStore_test
// puts the same files and operations to the real profile functions under
// code page 932.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Numbers.h"
#include "Settings.h"

namespace mosaika::ini_rows {

const std::string M(kKeyBgmMode), R(kKeyBgmRepeat), F(kKeyBgmFile), S(kIniSection);
const std::string kSo = "\x83\x5C", kTsu = "\x83\x63", kTsuUpper = "\x83\x43";  // ソ; ツ and イ differ by 0x20

struct Row {
    const char* name;
    std::string file, section, key;
    std::optional<std::string> write;     // nothing: a read
    std::optional<std::string> expected;  // the value read, or the file written (nothing: refused)
    // Where Wine's profile functions differ from Windows' on this row: its
    // reader gives another value, or its writer other bytes (the keys still
    // read the same). No note: Wine's writer gives these very bytes.
    const char* wine = nullptr;
};

// The three writes of a save, in order.
inline std::vector<std::pair<std::string, std::string>> SaveWrites(const MusicSettings& s = {2, -1, "C:\\\x83\x5C\\a.mp3"}) {
    return {{M, FormatLeadingBlank(s.BgmMode)}, {R, FormatLeadingBlank(s.BgmRepeat)}, {F, s.BgmFile}};
}

inline std::vector<Row> Rows() {
    const std::string x300(300, 'x'), x255(255, 'x'), x254(254, 'x');
    return {
        {"plain", "[Section]\r\n" + M + "= 2\r\n", S, M, {}, "2"},
        {"ASCII letters in either case", "[SECTION]\r\nbgm" + M.substr(3) + "=1\r\n", "section", M, {}, "1"},
        {"a trail byte is never folded", "[S]\r\nK" + kTsu + "=1\r\n", "S", "k" + kTsuUpper, {}, ""},
        {"full-width letters are not ASCII", "[S]\r\n\x82\x60=1\r\n", "S", "\x82\x81", {}, ""},  // Ａ, ａ
        {"a lone lead byte keeps the line break", "[S]\r\nk=a\x81\nb=2\r\n", "S", "k", {}, "a\x81",
         "Wine's reader takes 0x81 0x0A for one character and reads on into the next line"},
        {"a trail byte ] ends no name", "[" + kSo + "\x83]]\r\nk=1\r\n", kSo + "\x83]", "k", {}, "1"},
        {"blanks around names and values", " \t[ Section\t]\v\r\n \tk \t=\t 2 \v\r\n", " Section ", " k ", {}, "2"},
        {"matching quotes", "[S]\r\nk= \" a \" \r\n", "S", "k", {}, " a "},
        {"single quotes", "[S]\r\nk='x'\r\n", "S", "k", {}, "x"},
        {"quotes that differ stay", "[S]\r\nk=\"x'\r\n", "S", "k", {}, "\"x'"},
        {"a lone quote stays", "[S]\r\nk=\"\r\n", "S", "k", {}, "\""},
        {"255 bytes at most", "[S]\r\nk=" + x300 + "\r\n", "S", "k", {}, x255},
        {"quotes go before the cut", "[S]\r\nk=\"" + x300 + "\"\r\n", "S", "k", {}, x255},
        {"no half character at the cut", "[S]\r\nk=" + x254 + kSo + "\r\n", "S", "k", {}, x254},
        {"lines before the first section", "k=0\r\n[S]\r\n", "S", "k", {}, ""},
        {"a header without ]", "[S\r\nk=1\r\n", "S", "k", {}, "1", "Wine's reader ignores the header"},
        {"a line without =", "[S]\r\nk\r\nk=2\r\n", "S", "k", {}, "2",
         "Wine's reader takes the line k for key k without a value, which Windows does not list among the keys"},
        {"a comment", "[S]\r\n;k=1\r\nk=2\r\n", "S", "k", {}, "2"},
        {"the first section counts", "[S]\r\na=1\r\n[s]\r\nk=2\r\n", "S", "k", {}, ""},
        {"the first key counts", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", {}, "1"},
        {"CR alone", "[S]\rk=1\rb=2", "S", "b", {}, "2"},
        {"LF alone, no last line break", "[S]\nk=1\nb=2", "S", "b", {}, "2"},

        {"a new file", "", S, M, " 2", "[Section]\r\n" + M + "= 2\r\n", "Wine drops the value's leading blank: =2"},
        {"a new file, no blank", "", S, F, "C:\\" + kSo + "\\a.mp3", "[Section]\r\n" + F + "=C:\\" + kSo + "\\a.mp3\r\n"},
        {"a key set in place", "[Section]\r\n" + M + " = 1\r\n" + R + "= 0\r\n", S, M, " 2",
         "[Section]\r\n" + M + " = 2\r\n" + R + "= 0\r\n",
         "Wine drops the blanks around every name and value, those of keys it does not set too: =2, =0"},
        {"its name keeps its letters", "[SECTION]\r\nBgm=1\r\n", S, "BGM", "2", "[SECTION]\r\nBgm=2\r\n"},
        {"a new key after the last key", "[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n", "S", "c", "3",
         "[S]\r\na=1\r\nc=3\r\n\r\n[T]\r\nb=2\r\n", "Wine drops blank lines"},
        {"before a comment that follows", "[S]\r\na=1\r\n; note\r\n", "S", "c", "3", "[S]\r\na=1\r\nc=3\r\n; note\r\n",
         "Wine puts the new key after the comment"},
        {"after a header with no line break", "[S]", "S", "a", "1", "[S]\r\na=1\r\n"},
        {"a new section at the end", "[T]\nb=2", "S", "a", "1", "[T]\nb=2\r\n[S]\r\na=1\r\n", "Wine: CRLF"},
        {"LF lines stay", "[S]\na=1\nb=2\n", "S", "a", "x", "[S]\na=x\nb=2\n", "Wine ends lines in CRLF"},
        {"the first section gets it", "[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b", "3", "[S]\r\na=1\r\nb=3\r\n[S]\r\nb=2\r\n"},
        {"the first key is set", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "3", "[S]\r\nk=3\r\nk=2\r\n"},
        {"lines before the first section stay", "k=0\r\n[S]\r\n", "S", "k", "1", "k=0\r\n[S]\r\nk=1\r\n"},
        {"a trail byte names another key", "[S]\r\nK" + kTsu + "=1\r\n", "S", "k" + kTsuUpper, "2",
         "[S]\r\nK" + kTsu + "=1\r\nk" + kTsuUpper + "=2\r\n"},
        {"CR LF refused", "[S]\r\nk=1\r\n", "S", "k", "a\r\nb", std::nullopt},
        {"LF refused", "", "S", "k", "a\nb", std::nullopt},
        {"zero byte refused", "", "S", "k", std::string("a\0b", 3), std::nullopt},
    };
}

}  // namespace mosaika::ini_rows
