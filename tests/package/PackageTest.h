// What the tests of the release packages share: where the packages and the
// unpacked zip lie, the user's screen-saver setting and the installer's
// uninstall entry in the registry, running the installer and the uninstaller
// silently and waiting for them, the files of a folder tree, the entries of a
// zip file, and the installed programs at work: the saver run as the
// screen-saver host starts it, and the settings dialog saving its file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PackageNames.h"
#include "SystemTest.h"

namespace pkgtest {

using systest::kExitTimeoutMs;
using systest::kRendererFileName;
using systest::kRendererWindowTitle;
using systest::kSaverFileName;
using systest::kSettingsDialogTitle;
using systest::kWindowTimeoutMs;

inline constexpr const wchar_t* kSettingsFileName = L"モザイカ図.ini";
inline constexpr const wchar_t* kUninstallerFileName = L"Uninstall.exe";
inline constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mosaika";

// Generous: the installer and the uninstaller finish within a second or two.
inline constexpr DWORD kSetupTimeoutMs = 60000;

// The packages made for the tests (packages/ in this test's folder), and the
// folder the zip was unpacked into (its path has blanks and Japanese characters).
std::wstring PackagesFolder();
std::wstring SetupPath();
std::wstring ZipPath();
std::wstring UnpackedZipFolder();
// The copy of a built program kept when the packages were made from it.
std::wstring PackagedProgram(const std::wstring& name);

// The user's local application data and the folder the installer picks there.
std::wstring LocalAppData();
std::wstring DefaultInstallFolder();

// SCRNSAVE.EXE under HKCU\Control Panel\Desktop; nothing when it is absent.
std::optional<std::wstring> ScreenSaver();
// Sets it, or deletes it when given nothing.
void SetScreenSaver(const std::optional<std::wstring>& value);

bool UninstallEntryExists();
// A text value of the uninstall entry; nothing when it is absent.
std::optional<std::wstring> UninstallValue(const wchar_t* name);

// Runs a program and waits for its end; its exit code, or nothing when it did
// not start or end in time.
std::optional<DWORD> Run(const std::wstring& path, const std::wstring& arguments, DWORD timeoutMs);
// The installer with /S, and /D=folder when a folder is given.
std::optional<DWORD> InstallSilently(const std::wstring& folder = L"");
// The uninstaller of the installation in that folder with /S, waited for: a
// copy of it runs from a temporary folder with _?=folder (what it does by
// itself when started plainly, without waiting), so it can remove itself.
std::optional<DWORD> UninstallSilently(const std::wstring& folder);

// Every file and folder under the folder, as paths relative to it, sorted;
// empty when the folder does not exist.
std::vector<std::wstring> FilesUnder(const std::wstring& folder);

// Whether two paths name the same file, in any of their long or short forms.
bool SameFile(const std::wstring& a, const std::wstring& b);
// The full path of the program of the process that owns the window.
std::wstring ProgramOfWindow(HWND window);

// Starts the screen saver as the screen-saver host does: the value of
// SCRNSAVE.EXE as the program, "<value> /s" unquoted as its command line.
// Expects the renderer from rendererFolder to show its window, closes it and
// expects both programs to end with exit code 0. Uses gtest assertions.
void ExpectSaverRunAsTheHostStartsIt(const std::wstring& value, const std::wstring& rendererFolder);
// Starts the saver with /s by its full path, quoted, and expects the same.
void ExpectSaverRun(const std::wstring& saverPath, const std::wstring& rendererFolder);
// Starts the saver with /c, presses the settings dialog's 設定 button as a user
// would, and expects the dialog to save its settings file beside the saver and
// the program to end. Uses gtest assertions.
void ExpectSettingsSavedBeside(const std::wstring& saverPath);

struct ZipEntry {
    std::string name;  // as stored
    unsigned flags = 0;
    unsigned long size = 0;  // uncompressed
};
// The entries of a zip file's central directory; empty when it cannot be read.
std::vector<ZipEntry> ZipEntries(const std::wstring& path);

std::wstring FromUtf8(const std::string& text);
std::string ToUtf8(const std::wstring& text);

}  // namespace pkgtest
