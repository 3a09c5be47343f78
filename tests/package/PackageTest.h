// What the tests of the release packages share: the packages, folder trees, and
// the installed or unpacked programs at work.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PackageNames.h"
#include "SaverSystemTest.h"

namespace pkgtest {

using namespace systest;

inline constexpr const wchar_t* kSettingsFileName = L"モザイカ図.ini";

// The packages made for the tests, the folder the zip was unpacked into (blanks
// and Japanese characters in its path), the programs the packages were made from.
std::wstring PackagePath(const wchar_t* fileName);
std::wstring UnpackedZipFolder();
std::wstring PackagedProgram(const std::wstring& name);

// Every file and folder under the folder, relative to it, sorted; empty when there is none.
std::vector<std::wstring> FilesUnder(const std::wstring& folder);
using win32::ToUtf8;

// Starts the saver with this exact command line (as the host does: the value of
// SCRNSAVE.EXE and " /s", unquoted), expects the renderer from rendererFolder
// to show its window, closes it and expects both programs to end with 0.
void ExpectSaverRun(const std::wstring& saverPath, const std::wstring& commandLine, const std::wstring& rendererFolder);
// Starts the saver with /c, presses 設定 as a user would, and expects the
// program to end and its settings file to lie beside it.
void ExpectSettingsSavedBeside(const std::wstring& saverPath);

}  // namespace pkgtest
