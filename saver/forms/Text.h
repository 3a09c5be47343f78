// Text between the platform's UTF-16 and the byte strings the program keeps:
// ANSI (the system code page: Shift-JIS on a Japanese system) for what goes
// through the A functions, UTF-8 for captions written in the source.
#pragma once

#include <string>

namespace forms {

std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace forms
