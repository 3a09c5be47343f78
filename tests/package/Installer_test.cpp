// The installer モザイカ図-<version>-setup.exe run silently, as a user or an
// administrator's script would: it puts both programs side by side into the
// user's own programs folder with no administrator rights, makes the installed
// program the user's screen saver in a form the screen-saver host can start,
// and registers an uninstaller that puts the previous screen saver back and
// leaves nothing behind. Each case starts with nothing installed and restores
// the user's screen-saver setting at its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "PackageTest.h"

namespace {

using namespace pkgtest;

// A screen saver the user had before, as another program would have set it:
// a full path with blanks and Japanese characters.
const std::wstring kPreviousSaver = L"C:\\Screen Savers\\前の セーバー.scr";

class InstallerTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(systest::Exists(SetupPath())) << "no installer: " << ToUtf8(SetupPath());
        userSaver_ = ScreenSaver();
        RemoveAnyInstallation();
        programsBefore_ = FilesUnder(ProgramsFolder());
    }

    void TearDown() override {
        RemoveAnyInstallation();
        SetScreenSaver(userSaver_);
    }

    static std::wstring ProgramsFolder() { return LocalAppData() + L"\\Programs"; }
    static std::wstring Installed(const std::wstring& name, const std::wstring& folder = DefaultInstallFolder()) {
        return folder + L"\\" + name;
    }

    // What an earlier case may have left: its uninstaller runs, then whatever remains goes.
    static void RemoveAnyInstallation() {
        if (const auto location = UninstallValue(L"InstallLocation")) {
            if (systest::Exists(Installed(kUninstallerFileName, *location))) UninstallSilently(*location);
        }
        std::error_code ignored;
        std::filesystem::remove_all(DefaultInstallFolder(), ignored);
        RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    }

    // Installs silently into the default folder and expects it to succeed.
    static void Install() {
        const auto exitCode = InstallSilently();
        ASSERT_TRUE(exitCode.has_value()) << "the installer did not end";
        ASSERT_EQ(*exitCode, 0u);
    }

    static void Uninstall(const std::wstring& folder = DefaultInstallFolder()) {
        ASSERT_TRUE(systest::Exists(Installed(kUninstallerFileName, folder))) << "no uninstaller";
        const auto exitCode = UninstallSilently(folder);
        ASSERT_TRUE(exitCode.has_value()) << "the uninstaller did not end";
        ASSERT_EQ(*exitCode, 0u);
    }

    // Nothing of the installation is left: no folder, no uninstall entry, the
    // user's programs folder as it was before.
    void ExpectNothingLeft(const std::wstring& folder = DefaultInstallFolder()) const {
        EXPECT_FALSE(systest::Exists(folder)) << "left behind: " << ToUtf8(folder);
        EXPECT_FALSE(UninstallEntryExists()) << "the uninstall entry is still there";
        EXPECT_EQ(FilesUnder(ProgramsFolder()), programsBefore_);
    }

    std::optional<std::wstring> userSaver_;
    std::vector<std::wstring> programsBefore_;
};

TEST_F(InstallerTest, SilentInstallPutsBothProgramsSideBySideIntoTheUsersProgramsFolder) {
    SetScreenSaver(kPreviousSaver);
    Install();

    // The built programs, byte for byte, beside the uninstaller and nothing else.
    const std::vector<std::wstring> expected = {kUninstallerFileName, kRendererFileName, kSaverFileName};
    std::vector<std::wstring> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(FilesUnder(DefaultInstallFolder()), sorted);
    for (const wchar_t* program : {kSaverFileName, kRendererFileName}) {
        SCOPED_TRACE(ToUtf8(program));
        const std::string installed = systest::ReadBytes(Installed(program));
        EXPECT_FALSE(installed.empty());
        EXPECT_TRUE(installed == systest::ReadBytes(PackagedProgram(program)))
            << "not the program the packages were made from";
    }

    // An uninstall entry for this user, as Windows' list of apps reads it.
    EXPECT_EQ(UninstallValue(L"DisplayName"), std::optional<std::wstring>(L"モザイカ図"));
    EXPECT_EQ(UninstallValue(L"DisplayVersion"), std::optional<std::wstring>(MOSAIKA_VERSION));
    EXPECT_EQ(UninstallValue(L"InstallLocation"), std::optional<std::wstring>(DefaultInstallFolder()));
    const std::wstring quoted = L"\"" + Installed(kUninstallerFileName) + L"\"";
    EXPECT_EQ(UninstallValue(L"UninstallString"), std::optional<std::wstring>(quoted));
    EXPECT_EQ(UninstallValue(L"QuietUninstallString"), std::optional<std::wstring>(quoted + L" /S"));
    EXPECT_EQ(UninstallValue(L"ScreenSaverBefore"), std::optional<std::wstring>(kPreviousSaver));
    EXPECT_NE(UninstallValue(L"Publisher").value_or(L""), L"");
    EXPECT_EQ(UninstallValue(L"URLInfoAbout"), std::optional<std::wstring>(L"" MOSAIKA_HOME_PAGE));
    EXPECT_EQ(UninstallValue(L"HelpLink"), std::optional<std::wstring>(L"" MOSAIKA_HOME_PAGE));
}

TEST_F(InstallerTest, SilentInstallMakesTheInstalledProgramTheScreenSaverTheHostStarts) {
    SetScreenSaver(kPreviousSaver);
    Install();

    const auto value = ScreenSaver();
    ASSERT_TRUE(value.has_value()) << "no screen saver set";
    std::printf("SCRNSAVE.EXE = %s\n", ToUtf8(*value).c_str());
    EXPECT_TRUE(SameFile(*value, Installed(kSaverFileName))) << ToUtf8(*value);
    EXPECT_TRUE(value->size() > 3 && value->substr(1, 2) == L":\\") << "not a full path";
    EXPECT_EQ(value->find(L' '), std::wstring::npos) << "a blank cuts the host's command line short";
    ExpectSaverRunAsTheHostStartsIt(*value, DefaultInstallFolder());
}

TEST_F(InstallerTest, InstalledSettingsDialogSavesItsFileBesideTheProgram) {
    Install();
    ExpectSettingsSavedBeside(Installed(kSaverFileName));
}

TEST_F(InstallerTest, SilentUninstallPutsThePreviousScreenSaverBackAndRemovesEverything) {
    SetScreenSaver(kPreviousSaver);
    Install();
    ExpectSettingsSavedBeside(Installed(kSaverFileName));  // the saver's own file, to be removed too
    ASSERT_TRUE(systest::Exists(Installed(kSettingsFileName)));

    Uninstall();
    EXPECT_EQ(ScreenSaver(), std::optional<std::wstring>(kPreviousSaver));
    ExpectNothingLeft();
}

TEST_F(InstallerTest, SilentUninstallRemovesTheScreenSaverWhenThereWasNoneBefore) {
    SetScreenSaver(std::nullopt);
    Install();
    ASSERT_TRUE(ScreenSaver().has_value());
    EXPECT_FALSE(UninstallValue(L"ScreenSaverBefore").has_value());

    Uninstall();
    EXPECT_FALSE(ScreenSaver().has_value()) << "left set to " << ToUtf8(ScreenSaver().value_or(L""));
    ExpectNothingLeft();
}

TEST_F(InstallerTest, UninstallLeavesAScreenSaverChosenSinceTheInstallationAlone) {
    SetScreenSaver(kPreviousSaver);
    Install();
    const std::wstring chosenSince = L"C:\\windows\\system32\\他の.scr";
    SetScreenSaver(chosenSince);

    Uninstall();
    EXPECT_EQ(ScreenSaver(), std::optional<std::wstring>(chosenSince));
    ExpectNothingLeft();
}

TEST_F(InstallerTest, SecondInstallOverTheFirstKeepsWorkingWithTheSettingsAndTheFirstRecord) {
    SetScreenSaver(kPreviousSaver);
    Install();
    const std::string settings = "[Section]\r\n";
    ASSERT_TRUE(systest::WriteBytes(Installed(kSettingsFileName), settings));

    // Installed again over itself: the screen saver is this one now, which
    // must not become the one to put back.
    Install();
    EXPECT_EQ(systest::ReadBytes(Installed(kSettingsFileName)), settings) << "the user's settings were lost";
    EXPECT_EQ(UninstallValue(L"ScreenSaverBefore"), std::optional<std::wstring>(kPreviousSaver));
    const auto value = ScreenSaver();
    ASSERT_TRUE(value.has_value());
    EXPECT_TRUE(SameFile(*value, Installed(kSaverFileName)));
    ExpectSaverRunAsTheHostStartsIt(*value, DefaultInstallFolder());

    Uninstall();
    EXPECT_EQ(ScreenSaver(), std::optional<std::wstring>(kPreviousSaver));
    ExpectNothingLeft();
}

TEST_F(InstallerTest, UninstallStartedAsTheListOfAppsStartsItRemovesEverythingToo) {
    SetScreenSaver(kPreviousSaver);
    Install();
    const auto command = UninstallValue(L"QuietUninstallString");
    ASSERT_TRUE(command.has_value());

    // Started plainly, the uninstaller runs a copy of itself from the temporary
    // folder and ends at once; the copy does the work.
    std::wstring commandLine = *command;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &info));
    CloseHandle(info.hThread);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, kSetupTimeoutMs), WAIT_OBJECT_0);
    CloseHandle(info.hProcess);
    const DWORD start = GetTickCount();
    while ((UninstallEntryExists() || systest::Exists(DefaultInstallFolder())) &&
           GetTickCount() - start < kSetupTimeoutMs) {
        Sleep(50);
    }
    EXPECT_EQ(ScreenSaver(), std::optional<std::wstring>(kPreviousSaver));
    ExpectNothingLeft();
}

TEST_F(InstallerTest, FolderWithBlanksGivesTheHostAPathWithoutBlanksAndGoesAwayWithItsParents) {
    // Folders that do not exist yet, named with blanks and Japanese characters.
    const std::wstring parent = LocalAppData() + L"\\試験 用";
    const std::wstring folder = parent + L"\\入れ る 先\\モザイカ図";
    std::error_code ignored;
    std::filesystem::remove_all(parent, ignored);

    SetScreenSaver(kPreviousSaver);
    const auto exitCode = InstallSilently(folder);
    ASSERT_EQ(exitCode, std::optional<DWORD>(0));
    ASSERT_TRUE(systest::Exists(Installed(kSaverFileName, folder)));
    ASSERT_TRUE(systest::Exists(Installed(kRendererFileName, folder)));
    EXPECT_EQ(UninstallValue(L"InstallLocation"), std::optional<std::wstring>(folder));

    const auto value = ScreenSaver();
    ASSERT_TRUE(value.has_value());
    std::printf("SCRNSAVE.EXE = %s\n", ToUtf8(*value).c_str());
    EXPECT_TRUE(SameFile(*value, Installed(kSaverFileName, folder)));
    EXPECT_EQ(value->find(L' '), std::wstring::npos) << "a blank cuts the host's command line short";
    ExpectSaverRunAsTheHostStartsIt(*value, folder);

    Uninstall(folder);
    EXPECT_EQ(ScreenSaver(), std::optional<std::wstring>(kPreviousSaver));
    EXPECT_FALSE(systest::Exists(parent)) << "the folders the installer made are left";
    EXPECT_FALSE(UninstallEntryExists());
}

}  // namespace
