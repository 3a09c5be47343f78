#include "SettingsStore.h"

#include <array>

#include "Application.h"
#include "Text.h"
#include "UniqueHandle.h"
#include "Win32.h"

namespace mosaika {

std::wstring SettingsFile() { return forms::ProgramFolder() + L"\\モザイカ図.ini"; }

std::wstring RendererFile() { return forms::ProgramFolder() + L"\\モザイカ図.dll"; }

std::string WinSettingsPort::ReadIniValue(const std::string& section, const std::string& key,
                                          const std::string& file) {
    std::array<char, 256> buffer{};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), static_cast<DWORD>(buffer.size()),
                             file.c_str());
    return buffer.data();
}

bool WinSettingsPort::WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                                    const std::string& file) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

namespace {

// Opened for sequential reading and closed at once; a folder fails to open.
// By its wide path, so a program folder that the ANSI code page cannot spell
// (any folder with Japanese characters on a Western system) still opens.
bool CanOpen(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    const forms::UniqueKernelHandle owner(file == INVALID_HANDLE_VALUE ? nullptr : file);
    SetLastError(0);
    return static_cast<bool>(owner);
}

}  // namespace

bool WinSettingsPort::CanOpenForReading(const std::string& path) { return CanOpen(forms::FromCp932(path)); }

bool RendererFileExists() { return CanOpen(RendererFile()); }

void LoadSettings(MusicSettings& settings) {
    WinSettingsPort port;
    LoadSettings(settings, port, forms::ToCp932(SettingsFile()).value_or(std::string()));
}

bool SaveSettings(const MusicSettings& settings) {
    WinSettingsPort port;
    return SaveSettings(settings, port, forms::ToCp932(SettingsFile()).value_or(std::string()));
}

}  // namespace mosaika
