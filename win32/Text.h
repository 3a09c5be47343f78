// Text between the platform's UTF-16 and byte strings: Shift-JIS (code page
// 932, named, whatever the system's code page is) for the ini file's bytes,
// UTF-8 for captions written in the source and for messages.
#pragma once

#include <optional>
#include <string>

namespace win32 {

inline constexpr unsigned kShiftJis = 932;
inline constexpr unsigned kUtf8 = 65001;  // CP_UTF8

// Bytes of a code page as UTF-16. A byte sequence the code page does not
// have becomes the platform's replacement character, never a character of
// another code page.
std::wstring Widen(unsigned codePage, const std::string& bytes);
// The text in a code page. A character the code page lacks becomes its
// default character ('?'), never a look-alike ("é" as "e", "¥" as "\");
// lost, when given, tells whether that happened.
std::string Narrow(unsigned codePage, const std::wstring& text, bool* lost = nullptr);

inline std::wstring FromCp932(const std::string& bytes) { return Widen(kShiftJis, bytes); }
// The Shift-JIS bytes of the text; nothing when a character has none.
std::optional<std::string> ToCp932(const std::wstring& text);

inline std::string ToUtf8(const std::wstring& text) { return Narrow(kUtf8, text); }
inline std::wstring FromUtf8(const std::string& text) { return Widen(kUtf8, text); }

}  // namespace win32
