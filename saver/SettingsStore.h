// The settings store on Windows: the two files beside the program, the ini
// file read and replaced by its UTF-16 path behind SettingsPort, the file
// test, and the music settings loaded from and saved to the ini file. The
// file's text is Shift-JIS on every system (IniFile reads and writes it);
// nothing here depends on the system's code page.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "Settings.h"

namespace mosaika {

// The folder of the program followed by "\モザイカ図.ini" and "\モザイカ図.dll";
// formed anew at every use.
std::wstring SettingsFile();
std::wstring RendererFile();

// The settings file at a UTF-16 path. A save writes a new file beside it
// (same folder, so the rename stays on one volume), flushes it to the disk
// and renames it over the old one in one step, so a crash or power cut
// leaves either file whole; on any failure the new file is removed and the
// old one is left as it was. The file test takes a Shift-JIS path and drops
// nothing: FileExists (Settings.h) has already dropped the one trailing
// backslash.
class WinSettingsPort final : public SettingsPort {
public:
    explicit WinSettingsPort(std::wstring settingsFile) : file_(std::move(settingsFile)) {}
    std::optional<std::string> ReadSettingsFile() override;
    bool ReplaceSettingsFile(const std::string& bytes) override;
    bool CanOpenForReading(const std::string& path) override;

private:
    std::wstring file_;
};

// True when RendererFile can be opened for reading.
bool RendererFileExists();

// Fills the music settings from SettingsFile.
void LoadSettings(MusicSettings& settings);

// Writes the music settings to SettingsFile. False, with the file as it was,
// when it could not be read or replaced (file locked, read-only, folder
// read-only, disk full) or the path cannot be stored.
bool SaveSettings(const MusicSettings& settings);

}  // namespace mosaika
