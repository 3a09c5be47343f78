// Text between the platform's UTF-16 and the byte strings the program keeps:
// Shift-JIS (code page 932, named, whatever the system's code page is) for
// the ini file's bytes, UTF-8 for captions written in the source.
#pragma once

#include <optional>
#include <string>

namespace forms {

// Shift-JIS bytes as UTF-16. A byte sequence that is not Shift-JIS becomes
// the platform's replacement character, never a character of another code page.
std::wstring FromCp932(const std::string& bytes);
// The Shift-JIS bytes of the text; nothing when a character has none. A
// missing character is never replaced by a look-alike ("é" by "e", "¥" by "\").
std::optional<std::string> ToCp932(const std::wstring& text);

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace forms
