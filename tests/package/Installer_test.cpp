// The installer run silently: both programs into the user's own programs
// folder, the installed saver made the screen saver in a form the host can
// start, and an uninstaller that puts the previous one back and leaves nothing.
// Each case starts with nothing installed and restores the user's screen saver.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <system_error>

#include "PackageTest.h"

namespace {

using namespace pkgtest;

constexpr const wchar_t* kUninstallerFileName = L"Uninstall.exe";
constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mosaika";
constexpr const wchar_t* kDesktopKey = L"Control Panel\\Desktop";
constexpr DWORD kSetupTimeoutMs = 60000;  // generous: either takes a second or two

std::wstring LocalAppData() {
    wchar_t path[MAX_PATH] = {};  // the folder the installer's $LOCALAPPDATA names
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring DefaultInstallFolder() { return LocalAppData() + L"\\Programs\\モザイカ図"; }

std::optional<std::wstring> ReadText(const wchar_t* key, const wchar_t* name) {
    wchar_t text[1024];
    DWORD bytes = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &bytes) != ERROR_SUCCESS) return {};
    return text;
}

// SCRNSAVE.EXE under HKCU\Control Panel\Desktop; nothing when absent, setting nothing deletes it.
std::optional<std::wstring> ScreenSaver() { return ReadText(kDesktopKey, L"SCRNSAVE.EXE"); }

void SetScreenSaver(const std::optional<std::wstring>& value) {
    if (!value) RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE");
    if (value) RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE", REG_SZ, value->c_str(),
                               static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
}

std::optional<std::wstring> UninstallValue(const wchar_t* name) { return ReadText(kUninstallKey, name); }

bool UninstallEntryExists() {
    HKEY key = nullptr;
    const bool exists = RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (exists) RegCloseKey(key);
    return exists;
}

// The program's exit code; STILL_ACTIVE when it did not end in time.
DWORD RunToEnd(const std::wstring& path, const std::wstring& arguments) {
    return Process::Start(path, arguments).ExitCode(kSetupTimeoutMs);
}

// The exit code of the installation's uninstaller, run with /S as a copy from
// the temporary folder with _?=folder so it can remove itself.
DWORD UninstallSilently(const std::wstring& folder) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path copy = std::filesystem::path(temp) / L"mosaika-uninstall-test" / kUninstallerFileName;
    std::error_code error;
    std::filesystem::create_directories(copy.parent_path(), error);
    if (!CopyFileW((folder + L"\\" + kUninstallerFileName).c_str(), copy.c_str(), FALSE)) return GetLastError();
    const DWORD exitCode = RunToEnd(copy.wstring(), L"/S _?=" + folder);
    std::filesystem::remove_all(copy.parent_path(), error);
    return exitCode;
}

// A screen saver the user had before, as another program would have set it.
const std::wstring kPreviousSaver = L"C:\\Screen Savers\\前の セーバー.scr";

class InstallerTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Exists(PackagePath(MOSAIKA_SETUP_FILE))) << "no installer";
        RemoveAnyInstallation();
        programsBefore_ = FilesUnder(LocalAppData() + L"\\Programs");
        SetScreenSaver(kPreviousSaver);
    }

    void TearDown() override {
        RemoveAnyInstallation();
        SetScreenSaver(userSaver_);
    }

    // What an earlier case may have left: its uninstaller runs, then whatever remains goes.
    static void RemoveAnyInstallation() {
        const auto location = UninstallValue(L"InstallLocation");
        if (location && Exists(*location + L"\\" + kUninstallerFileName)) UninstallSilently(*location);
        std::error_code ignored;
        std::filesystem::remove_all(DefaultInstallFolder(), ignored);
        RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    }

    // Installs silently and expects the installed saver to be the screen saver,
    // given to the host as a full path without blanks, and to run as the host starts it.
    static void Install(const std::wstring& folder = DefaultInstallFolder()) {
        // /D= comes last and unquoted, blanks and all.
        const std::wstring arguments = folder == DefaultInstallFolder() ? L"/S" : L"/S /D=" + folder;
        ASSERT_EQ(RunToEnd(PackagePath(MOSAIKA_SETUP_FILE), arguments), 0u);
        const auto value = ScreenSaver();
        ASSERT_TRUE(value.has_value()) << "no screen saver set";
        EXPECT_TRUE(SamePath(*value, folder + L"\\" + kSaverFileName)) << ToUtf8(*value);
        EXPECT_EQ(value->substr(1, 2), L":\\") << "not a full path";
        EXPECT_EQ(value->find(L' '), std::wstring::npos) << "a blank cuts the host's command line short";
        ExpectSaverRun(*value, *value + L" /s", folder);
    }

    // Uninstalls silently and expects the screen saver to be `after` and nothing of the installation left.
    void Uninstall(const std::optional<std::wstring>& after, const std::wstring& folder = DefaultInstallFolder()) {
        ASSERT_EQ(UninstallSilently(folder), 0u);
        ExpectUninstalled(after, folder);
    }

    void ExpectUninstalled(const std::optional<std::wstring>& after, const std::wstring& folder) {
        EXPECT_EQ(ScreenSaver(), after);
        EXPECT_FALSE(Exists(folder)) << "left behind: " << ToUtf8(folder);
        EXPECT_FALSE(UninstallEntryExists()) << "the uninstall entry is still there";
        EXPECT_EQ(FilesUnder(LocalAppData() + L"\\Programs"), programsBefore_);
    }

    std::optional<std::wstring> userSaver_ = ScreenSaver();
    std::vector<std::wstring> programsBefore_;
};

TEST_F(InstallerTest, InstallsBothProgramsAndAnUninstallEntryAndUninstallPutsThePreviousSaverBack) {
    Install();
    const std::wstring folder = DefaultInstallFolder();
    EXPECT_EQ(FilesUnder(folder), (std::vector<std::wstring>{kUninstallerFileName, kRendererFileName, kSaverFileName}));
    for (const wchar_t* program : {kSaverFileName, kRendererFileName}) {
        EXPECT_TRUE(ReadBytes(folder + L"\\" + program) == ReadBytes(PackagedProgram(program)))
            << ToUtf8(program) << " is not the program the packages were made from";
    }
    // The uninstall entry for this user, as Windows' list of apps reads it.
    const std::wstring quoted = L"\"" + folder + L"\\" + kUninstallerFileName + L"\"";
    const struct {
        const wchar_t* name;
        std::wstring value;
    } values[] = {
        {L"DisplayName", L"モザイカ図"}, {L"DisplayVersion", MOSAIKA_VERSION}, {L"InstallLocation", folder},
        {L"UninstallString", quoted}, {L"QuietUninstallString", quoted + L" /S"},
        {L"ScreenSaverBefore", kPreviousSaver}, {L"Publisher", L"" MOSAIKA_PUBLISHER},
        {L"URLInfoAbout", L"" MOSAIKA_HOME_PAGE}, {L"HelpLink", L"" MOSAIKA_HOME_PAGE},
    };
    for (const auto& [name, value] : values) EXPECT_EQ(UninstallValue(name), value) << ToUtf8(name);

    // The settings dialog saves beside the installed program; the uninstaller removes that file too.
    ExpectSettingsSavedBeside(folder + L"\\" + kSaverFileName);
    Uninstall(kPreviousSaver);
}

TEST_F(InstallerTest, UninstallRemovesOrKeepsTheSaverAsChosenAlsoFromAFolderWithBlanks) {
    SetScreenSaver(std::nullopt);
    Install();
    EXPECT_FALSE(UninstallValue(L"ScreenSaverBefore").has_value());
    Uninstall(std::nullopt);

    // Into new folders named with blanks and Japanese characters, which go away with it.
    const std::wstring parent = LocalAppData() + L"\\試験 用", folder = parent + L"\\入れ る 先\\モザイカ図";
    std::error_code ignored;
    std::filesystem::remove_all(parent, ignored);
    SetScreenSaver(kPreviousSaver);
    Install(folder);
    EXPECT_EQ(UninstallValue(L"InstallLocation"), folder);
    const std::wstring chosenSince = L"C:\\windows\\system32\\他の.scr";
    SetScreenSaver(chosenSince);
    Uninstall(chosenSince, folder);
    EXPECT_FALSE(Exists(parent)) << "the folders the installer made are left";
}

TEST_F(InstallerTest, SecondInstallKeepsSettingsAndFirstRecordAndTheListOfAppsUninstallsIt) {
    Install();
    const std::wstring settings = DefaultInstallFolder() + L"\\" + kSettingsFileName;
    ASSERT_TRUE(WriteBytes(settings, "[Section]\r\n"));
    // Installed again over itself: the screen saver is this one now, which must not become the one to put back.
    Install();
    EXPECT_EQ(ReadBytes(settings), "[Section]\r\n") << "the user's settings were lost";
    EXPECT_EQ(UninstallValue(L"ScreenSaverBefore"), kPreviousSaver);

    // Started plainly, as the list of apps starts it, the uninstaller runs a
    // copy of itself from the temporary folder and ends at once; the copy does the work.
    const auto command = UninstallValue(L"QuietUninstallString");
    ASSERT_TRUE(command.has_value());
    const std::wstring program = command->substr(1, command->find(L'"', 1) - 1);
    EXPECT_TRUE(Process::StartWithCommandLine(program, *command).WaitForExit(kSetupTimeoutMs));
    EXPECT_TRUE(WaitUntil([] { return !UninstallEntryExists() && !Exists(DefaultInstallFolder()); }, kSetupTimeoutMs));
    ExpectUninstalled(kPreviousSaver, DefaultInstallFolder());
}

}  // namespace
