#include "Text.h"

#include "Win32.h"

namespace forms {

namespace {

constexpr UINT kShiftJis = 932;

std::wstring Widen(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

}  // namespace

std::wstring FromCp932(const std::string& bytes) { return Widen(kShiftJis, bytes); }

std::optional<std::string> ToCp932(const std::wstring& text) {
    if (text.empty()) return std::string();
    // Without WC_NO_BEST_FIT_CHARS the platform maps a missing character to
    // a look-alike silently; with it, a missing one sets usedDefault.
    BOOL usedDefault = FALSE;
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), length, out.data(), size, nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    // A round trip proves it: no character came back as another one.
    if (FromCp932(out) != text) return std::nullopt;
    return out;
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text) { return Widen(CP_UTF8, text); }

}  // namespace forms
