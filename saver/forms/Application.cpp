#include "Application.h"

#include "Form.h"
#include "Win32.h"

namespace forms {

const wchar_t* const kProgramTitle = L"モザイカ図";

std::wstring CommandLineText() {
    const wchar_t* text = GetCommandLineW();
    // The program's path: quoted, or up to the first blank.
    if (*text == L'"') {
        ++text;
        while (*text && *text != L'"') ++text;
        if (*text == L'"') ++text;
    } else {
        while (*text && *text != L' ' && *text != L'\t') ++text;
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
