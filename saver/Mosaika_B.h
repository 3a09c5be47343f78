// Mosaika_B: the program's start-up routine and its settings store on Windows.
// StartUp reads the command line and hands over to the window of the mode;
// the ini file beside the program is read and written through the ANSI
// profile functions, so its section, keys and values are Shift-JIS bytes on a
// Japanese system.
#pragma once

#include <string>

#include "Mosaika_BGM.h"
#include "Settings.h"

namespace mosaika {

// The program-wide music module, whose settings LoadSettings fills.
Mosaika_BGM& Music();

// The folder of the program followed by "\モザイカ図.ini" and "\モザイカ図.dll";
// formed anew at every use.
std::wstring SettingsFile();
std::wstring RendererFile();

// True when the file can be opened for reading (one trailing backslash is
// dropped first; a folder is never a file).
bool FileExists(const std::wstring& path);

// GetPrivateProfileStringA / WritePrivateProfileStringA on the given ini file.
// The write tells whether the platform wrote the value.
std::string ReadIniValue(const std::string& section, const std::string& key, const std::wstring& file);
bool WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                   const std::wstring& file);

// Fills the music settings from SettingsFile.
void LoadSettings();

// Runs once before any window exists; see Mosaika_B.cpp for the steps.
void StartUp();

// StartUp's preview mode: embeds the preview window into the host window
// whose handle the command line carries, sized to it, and shows it.
void SetUpPreview(const std::string& commandLine);

// The program's settings port: profile functions and the file test.
class WinSettingsPort final : public SettingsPort {
public:
    // False once a write through this port has failed (file locked, folder
    // read-only, disk full).
    bool AllWritten() const { return allWritten_; }

    std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& file) override;
    void WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override;
    bool CanOpenForReading(const std::string& path) override;

private:
    bool allWritten_ = true;
};

}  // namespace mosaika
