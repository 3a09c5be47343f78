#include "Application.h"

#include <cwchar>
#include <vector>

#include "Form.h"
#include "win32/Win32.h"

namespace forms {

const wchar_t* const kProgramTitle = L"モザイカ図";

namespace {

// The program's own path, long and short, as it may head the command line.
std::vector<std::wstring> OwnPaths() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    std::wstring shortPath(32768, L'\0');
    shortPath.resize(GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size())));
    return {path, shortPath};
}

bool StartsWithNoCase(const wchar_t* text, const std::wstring& prefix) {
    if (prefix.empty() || wcslen(text) < prefix.size()) return false;
    return CompareStringOrdinal(text, static_cast<int>(prefix.size()), prefix.c_str(), static_cast<int>(prefix.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace

std::wstring CommandLineText() {
    const wchar_t* text = GetCommandLineW();
    // The host may start the program by its unquoted path, blanks and all
    // ("C:\My Savers\x.scr /s"): the program's own path is taken off whole.
    // Otherwise the path is the first word, quoted or up to the first blank.
    bool ownPath = false;
    for (const std::wstring& path : OwnPaths()) {
        if (!ownPath && StartsWithNoCase(text, path)) {
            const wchar_t after = text[path.size()];
            if (after == L'\0' || after == L' ' || after == L'\t') {
                text += path.size();
                ownPath = true;
            }
        }
    }
    if (!ownPath) {
        if (*text == L'"') {
            ++text;
            while (*text && *text != L'"') ++text;
            if (*text == L'"') ++text;
        } else {
            while (*text && *text != L' ' && *text != L'\t') ++text;
        }
    }
    while (*text == L' ' || *text == L'\t') ++text;
    return text;
}

std::wstring ProgramFolder() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    std::wstring folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive root keeps its backslash
    return folder;
}

void ShowMessage(const std::wstring& text) { MessageBoxW(nullptr, text.c_str(), kProgramTitle, MB_OK); }

int RunMessageLoop() {
    if (Form::LiveForms() == 0) return 0;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void EndProgram() { ExitProcess(0); }

}  // namespace forms
