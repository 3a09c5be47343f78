#include "PackageTest.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace pkgtest {

namespace {

std::wstring TestFolderOfThisProgram() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(std::wstring(self, length)).parent_path().wstring();
}

constexpr const wchar_t* kDesktopKey = L"Control Panel\\Desktop";
constexpr const wchar_t* kScreenSaverValue = L"SCRNSAVE.EXE";

std::optional<std::wstring> ReadText(const wchar_t* key, const wchar_t* name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, &type, nullptr, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, &type, text.data(), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    text.resize(wcslen(text.c_str()));
    return text;
}

std::wstring LongPath(const std::wstring& path) {
    const DWORD length = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (length == 0) return path;
    std::wstring result(length, L'\0');
    result.resize(GetLongPathNameW(path.c_str(), result.data(), length));
    return result;
}

// Ends the renderer's window by a close request and expects both programs to end with 0.
void CloseRendererAndExpectBothEnd(HWND kanvas, HANDLE saver, HANDLE renderer) {
    PostMessageW(kanvas, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    EXPECT_EQ(WaitForSingleObject(renderer, kExitTimeoutMs), WAIT_OBJECT_0) << "the renderer did not end";
    GetExitCodeProcess(renderer, &exitCode);
    EXPECT_EQ(exitCode, 0u) << "renderer";
    exitCode = 1234;
    EXPECT_EQ(WaitForSingleObject(saver, kExitTimeoutMs), WAIT_OBJECT_0) << "the saver did not end";
    GetExitCodeProcess(saver, &exitCode);
    EXPECT_EQ(exitCode, 0u) << "saver";
}

// Waits for the renderer's window, checks where its program lies, then ends the run.
void ExpectRendererFromFolder(HANDLE saver, const std::wstring& rendererFolder) {
    HWND kanvas = systest::WaitForWindow(kRendererWindowTitle, kRendererWindowTitle, kWindowTimeoutMs);
    ASSERT_NE(kanvas, nullptr) << "no renderer window";
    DWORD rendererId = 0;
    GetWindowThreadProcessId(kanvas, &rendererId);
    HANDLE renderer = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE,
                                  rendererId);
    ASSERT_NE(renderer, nullptr);
    EXPECT_TRUE(SameFile(ProgramOfWindow(kanvas), rendererFolder + L"\\" + kRendererFileName))
        << ToUtf8(ProgramOfWindow(kanvas));
    CloseRendererAndExpectBothEnd(kanvas, saver, renderer);
    if (WaitForSingleObject(renderer, 0) == WAIT_TIMEOUT) TerminateProcess(renderer, 1);
    CloseHandle(renderer);
}

// Starts a program with that command line; ends it by force when the test is done with it.
class StartedProcess {
public:
    StartedProcess(const std::wstring& program, std::wstring commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
            id_ = info.dwProcessId;
        }
    }
    ~StartedProcess() {
        if (!process_) return;
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;
    HANDLE Handle() const { return process_; }
    DWORD Id() const { return id_; }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

}  // namespace

std::wstring PackagesFolder() { return TestFolderOfThisProgram() + L"\\packages"; }

std::wstring SetupPath() { return PackagesFolder() + L"\\" + MOSAIKA_SETUP_FILE; }
std::wstring ZipPath() { return PackagesFolder() + L"\\" + MOSAIKA_ZIP_FILE; }
std::wstring PackagedProgram(const std::wstring& name) { return PackagesFolder() + L"\\built\\" + name; }
std::wstring UnpackedZipFolder() { return TestFolderOfThisProgram() + L"\\" + MOSAIKA_UNPACKED_ZIP_FOLDER; }

std::wstring LocalAppData() {
    // The folder the installer's $LOCALAPPDATA names.
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring DefaultInstallFolder() { return LocalAppData() + L"\\Programs\\モザイカ図"; }

std::optional<std::wstring> ScreenSaver() { return ReadText(kDesktopKey, kScreenSaverValue); }

void SetScreenSaver(const std::optional<std::wstring>& value) {
    if (value) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kScreenSaverValue, REG_SZ, value->c_str(),
                        static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kScreenSaverValue);
    }
}

bool UninstallEntryExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::optional<std::wstring> UninstallValue(const wchar_t* name) { return ReadText(kUninstallKey, name); }

std::optional<DWORD> Run(const std::wstring& path, const std::wstring& arguments, DWORD timeoutMs) {
    StartedProcess process(path, L"\"" + path + L"\" " + arguments);
    if (!process.Handle()) return std::nullopt;
    if (WaitForSingleObject(process.Handle(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD exitCode = 0;
    GetExitCodeProcess(process.Handle(), &exitCode);
    return exitCode;
}

std::optional<DWORD> InstallSilently(const std::wstring& folder) {
    // /D= comes last and unquoted, blanks and all.
    return Run(SetupPath(), folder.empty() ? L"/S" : L"/S /D=" + folder, kSetupTimeoutMs);
}

std::optional<DWORD> UninstallSilently(const std::wstring& folder) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring copyFolder = std::wstring(temp) + L"mosaika-uninstall-test";
    const std::wstring copy = copyFolder + L"\\" + kUninstallerFileName;
    std::filesystem::create_directories(copyFolder);
    if (!CopyFileW((folder + L"\\" + kUninstallerFileName).c_str(), copy.c_str(), FALSE)) return std::nullopt;
    const std::optional<DWORD> exitCode = Run(copy, L"/S _?=" + folder, kSetupTimeoutMs);
    std::error_code ignored;
    std::filesystem::remove_all(copyFolder, ignored);
    return exitCode;
}

std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
    std::vector<std::wstring> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        files.push_back(std::filesystem::relative(it->path(), folder).wstring());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(LongPath(a).c_str(), -1, LongPath(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring ProgramOfWindow(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return {};
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    const BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return ok ? std::wstring(path, size) : std::wstring();
}

void ExpectSaverRunAsTheHostStartsIt(const std::wstring& value, const std::wstring& rendererFolder) {
    const StartedProcess saver(value, value + L" /s");
    ASSERT_NE(saver.Handle(), nullptr) << "the host could not start " << ToUtf8(value);
    ExpectRendererFromFolder(saver.Handle(), rendererFolder);
}

void ExpectSaverRun(const std::wstring& saverPath, const std::wstring& rendererFolder) {
    const StartedProcess saver(saverPath, L"\"" + saverPath + L"\" /s");
    ASSERT_NE(saver.Handle(), nullptr) << "could not start " << ToUtf8(saverPath);
    ExpectRendererFromFolder(saver.Handle(), rendererFolder);
}

void ExpectSettingsSavedBeside(const std::wstring& saverPath) {
    const std::wstring ini =
        std::filesystem::path(saverPath).parent_path().wstring() + L"\\" + kSettingsFileName;
    const StartedProcess saver(saverPath, L"\"" + saverPath + L"\" /c");
    ASSERT_NE(saver.Handle(), nullptr);
    HWND dialog = nullptr;
    const DWORD start = GetTickCount();
    while (!(dialog = FindWindowW(nullptr, kSettingsDialogTitle)) || !IsWindowVisible(dialog)) {
        ASSERT_LT(GetTickCount() - start, kWindowTimeoutMs) << "no settings dialog";
        Sleep(5);
    }
    systest::SleepMs(300);  // the dialog finishes drawing its buttons

    // The 設定 button: 1095 x 375 twips at 4800, 3000 in the dialog's client
    // area; twips are 1440 to the inch at the display's DPI.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    POINT centre{MulDiv(4800 + 1095 / 2, dpi, 1440), MulDiv(3000 + 375 / 2, dpi, 1440)};
    ClientToScreen(dialog, &centre);
    SetForegroundWindow(dialog);
    systest::MoveMouseTo(centre.x, centre.y);
    systest::SleepMs(100);
    systest::ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);

    ASSERT_EQ(WaitForSingleObject(saver.Handle(), kExitTimeoutMs), WAIT_OBJECT_0)
        << "pressing 設定 did not close the dialog and end the program";
    DWORD exitCode = 1234;
    GetExitCodeProcess(saver.Handle(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(systest::Exists(ini)) << "no settings file beside the program: " << ToUtf8(ini);
    EXPECT_FALSE(systest::ReadBytes(ini).empty());
}

std::vector<ZipEntry> ZipEntries(const std::wstring& path) {
    const std::string zip = systest::ReadBytes(path);
    const auto u16 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(zip[at]) | static_cast<unsigned char>(zip[at + 1]) << 8);
    };
    const auto u32 = [&](std::size_t at) { return static_cast<unsigned long>(u16(at)) | static_cast<unsigned long>(u16(at + 2)) << 16; };

    // The end-of-central-directory record: the last one, behind at most a 64 KiB comment.
    std::vector<ZipEntry> entries;
    if (zip.size() < 22) return entries;
    std::size_t end = zip.size() - 22;
    while (u32(end) != 0x06054b50) {
        if (end == 0 || zip.size() - end > 22 + 0xFFFF) return entries;
        --end;
    }
    const unsigned count = u16(end + 10);
    std::size_t at = u32(end + 16);
    for (unsigned i = 0; i < count; ++i) {
        if (at + 46 > zip.size() || u32(at) != 0x02014b50) return {};
        ZipEntry entry;
        entry.flags = u16(at + 8);
        entry.size = u32(at + 24);
        const unsigned nameLength = u16(at + 28);
        entry.name = zip.substr(at + 46, nameLength);
        entries.push_back(entry);
        at += 46 + nameLength + u16(at + 30) + u16(at + 32);
    }
    return entries;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

}  // namespace pkgtest
