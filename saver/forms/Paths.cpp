#include "Paths.h"

#include "win32/Win32.h"

namespace forms {

namespace {

template <typename Rewrite>
std::wstring RewrittenPath(const std::wstring& path, Rewrite rewrite) {
    std::wstring out(32768, L'\0');  // the longest path the platform knows
    const DWORD length = rewrite(path.c_str(), out.data(), static_cast<DWORD>(out.size()));
    out.resize(length < out.size() ? length : 0);
    return out;
}

}  // namespace

std::wstring ShortPathOf(const std::wstring& path) { return RewrittenPath(path, GetShortPathNameW); }

std::wstring LongPathOf(const std::wstring& path) { return RewrittenPath(path, GetLongPathNameW); }

}  // namespace forms
