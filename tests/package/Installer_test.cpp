// The installer run silently: both programs into the user's own programs
// folder, the installed saver made the screen saver in a form the host can
// start, and an uninstaller that puts the previous one back and leaves nothing.
// Each case starts with nothing installed and restores the user's screen saver.
#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "PackageTest.h"

namespace {

using namespace pkgtest;

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
        ASSERT_EQ(InstallSilently(folder == DefaultInstallFolder() ? L"" : folder), std::optional<DWORD>(0));
        const auto value = ScreenSaver();
        ASSERT_TRUE(value.has_value()) << "no screen saver set";
        EXPECT_TRUE(SameFile(*value, folder + L"\\" + kSaverFileName)) << ToUtf8(*value);
        EXPECT_EQ(value->substr(1, 2), L":\\") << "not a full path";
        EXPECT_EQ(value->find(L' '), std::wstring::npos) << "a blank cuts the host's command line short";
        ExpectSaverRun(*value, *value + L" /s", folder);
    }

    // Uninstalls silently and expects the screen saver to be `after` and nothing of the installation left.
    void Uninstall(const std::optional<std::wstring>& after, const std::wstring& folder = DefaultInstallFolder()) {
        ASSERT_EQ(UninstallSilently(folder), std::optional<DWORD>(0));
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

TEST_F(InstallerTest, UninstallRemovesTheSaverWhenThereWasNoneAndLeavesOneChosenSince) {
    SetScreenSaver(std::nullopt);
    Install();
    EXPECT_FALSE(UninstallValue(L"ScreenSaverBefore").has_value());
    Uninstall(std::nullopt);

    SetScreenSaver(kPreviousSaver);
    Install();
    const std::wstring chosenSince = L"C:\\windows\\system32\\他の.scr";
    SetScreenSaver(chosenSince);
    Uninstall(chosenSince);
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

TEST_F(InstallerTest, FolderWithBlanksGivesTheHostAPathWithoutBlanksAndGoesAwayWithItsParents) {
    // Folders that do not exist yet, named with blanks and Japanese characters.
    const std::wstring parent = LocalAppData() + L"\\試験 用";
    const std::wstring folder = parent + L"\\入れ る 先\\モザイカ図";
    std::error_code ignored;
    std::filesystem::remove_all(parent, ignored);
    Install(folder);
    EXPECT_EQ(UninstallValue(L"InstallLocation"), folder);
    Uninstall(kPreviousSaver, folder);
    EXPECT_FALSE(Exists(parent)) << "the folders the installer made are left";
}

}  // namespace
