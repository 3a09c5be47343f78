// The settings store on Windows: the two files beside the program, the
// profile functions and the file test behind SettingsPort, and the music
// settings loaded from and saved to the program's ini file. The ini path is
// formed once per load or save and handed to the ANSI profile functions as
// it is, so section, keys, values and path are Shift-JIS bytes on a Japanese
// system.
#pragma once

#include <string>

#include "Settings.h"

namespace mosaika {

// The folder of the program followed by "\モザイカ図.ini" and "\モザイカ図.dll";
// formed anew at every use.
std::wstring SettingsFile();
std::wstring RendererFile();

// GetPrivateProfileStringA and WritePrivateProfileStringA on the ANSI paths
// given, and the file test on them. The file test drops nothing: FileExists
// (Settings.h) has already dropped the one trailing backslash.
class WinSettingsPort final : public SettingsPort {
public:
    std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& file) override;
    bool WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override;
    bool CanOpenForReading(const std::string& path) override;
};

// True when RendererFile can be opened for reading. Its wide path is used as
// it is: it never ends in a backslash, and the ANSI code page may not spell it.
bool RendererFileExists();

// Fills the music settings from SettingsFile.
void LoadSettings(MusicSettings& settings);

// Writes the music settings to SettingsFile. False when a key could not be
// written (file locked, folder read-only, disk full).
bool SaveSettings(const MusicSettings& settings);

}  // namespace mosaika
