// The platform's other names for a file that exists: its short (8.3) path and
// its full long path. Each is empty where the platform has none (no such
// file, a volume without short names).
#pragma once

#include <string>

namespace forms {

std::wstring ShortPathOf(const std::wstring& path);
std::wstring LongPathOf(const std::wstring& path);

}  // namespace forms
