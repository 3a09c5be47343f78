#include "win32/Text.h"

#include "win32/Win32.h"

namespace win32 {

std::wstring Widen(unsigned codePage, const std::string& bytes) {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, out.data(), size);
    return out;
}

std::string Narrow(unsigned codePage, const std::wstring& text, bool* lost) {
    if (lost) *lost = false;
    if (text.empty()) return {};
    // Without WC_NO_BEST_FIT_CHARS the platform maps a missing character to
    // a look-alike silently; with it, a missing one sets usedDefault. UTF-8
    // lacks no character and takes neither the flag nor the question.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const askUsedDefault = utf8 ? nullptr : &usedDefault;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, askUsedDefault);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(codePage, flags, text.data(), length, out.data(), size, nullptr, askUsedDefault);
    if (lost) *lost = size <= 0 || usedDefault;
    return out;
}

std::optional<std::string> ToCp932(const std::wstring& text) {
    bool lost = false;
    std::string out = Narrow(kShiftJis, text, &lost);
    // A round trip proves it: no character came back as another one.
    if (lost || FromCp932(out) != text) return std::nullopt;
    return out;
}

}  // namespace win32
