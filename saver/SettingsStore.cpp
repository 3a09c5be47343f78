#include "SettingsStore.h"

#include "Application.h"
#include "win32/Text.h"
#include "win32/UniqueHandle.h"
#include "win32/Win32.h"

namespace mosaika {

namespace {

// A settings file is a few hundred bytes; one larger than this is not ours
// to rewrite.
constexpr LONGLONG kMaxSettingsFileBytes = 1 << 24;

win32::UniqueFile OpenFile(const std::wstring& path, DWORD access, DWORD creation, DWORD flags) {
    return win32::UniqueFile(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, creation, flags, nullptr));
}

// Opened for sequential reading and closed at once; a folder fails to open.
bool CanOpen(const std::wstring& path) {
    const bool opened = static_cast<bool>(OpenFile(path, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
    SetLastError(0);
    return opened;
}

// The new file written beside the settings file; removed when its owner goes
// unless it has taken the settings file's place.
struct NewFile {
    std::wstring path;
    win32::UniqueFile handle;
    bool renamed = false;
    NewFile() = default;
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile() {
        handle.reset();
        if (!renamed && !path.empty()) DeleteFileW(path.c_str());
    }
};

// A name no file has yet, taken with CREATE_NEW so no other file is ever
// overwritten; the path stays empty when none could be made.
void CreateBeside(const std::wstring& settingsFile, NewFile& fresh) {
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        const std::wstring path = settingsFile + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(GetTickCount64() + attempt) + L".new";
        fresh.handle = OpenFile(path, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
        if (fresh.handle) {
            fresh.path = path;
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) return;
    }
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return (bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                              written == bytes.size())) &&
           FlushFileBuffers(file);
}

}  // namespace

std::wstring SettingsFile() { return forms::ProgramFolder() + L"\\モザイカ図.ini"; }

std::wstring RendererFile() { return forms::ProgramFolder() + L"\\モザイカ図.dll"; }

std::optional<std::string> WinSettingsPort::ReadSettingsFile() {
    const win32::UniqueFile file = OpenFile(file_, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::string();
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxSettingsFileBytes) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

bool WinSettingsPort::ReplaceSettingsFile(const std::string& bytes) {
    // A read-only settings file stays as it is, as the profile functions
    // leave it. Windows refuses to rename over it; Wine 8 does not.
    const DWORD attributes = GetFileAttributesW(file_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    NewFile fresh;
    CreateBeside(file_, fresh);
    if (!fresh.handle || !WriteAll(fresh.handle.get(), bytes)) return false;
    fresh.handle.reset();
    // One rename within one folder: the old file is either still there or
    // replaced whole. Refused while another program holds the old file open
    // without sharing its deletion (Wine 8: while it is open at all). Not
    // ReplaceFileW: when it fails to move the new file in, the old one can be
    // gone already.
    fresh.renamed = MoveFileExW(fresh.path.c_str(), file_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return fresh.renamed;
}

bool WinSettingsPort::CanOpenForReading(const std::string& path) { return CanOpen(win32::FromCp932(path)); }

bool RendererFileExists() { return CanOpen(RendererFile()); }

void LoadSettings(MusicSettings& settings) {
    WinSettingsPort port(SettingsFile());
    LoadSettings(settings, port);
}

bool SaveSettings(const MusicSettings& settings) {
    WinSettingsPort port(SettingsFile());
    return SaveSettings(settings, port);
}

}  // namespace mosaika
