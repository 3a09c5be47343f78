// The three music settings and the ini file that keeps them beside the
// program: the section and key names, the loader with its validation, the
// writer, the file test, and the file-type decision of the saver run.
//
// Everything that crosses the ini file or goes to the music devices is ANSI
// text, Shift-JIS bytes (code page 932) on a Japanese system, so names,
// values and paths here are byte strings. The platform answers the profile
// calls and the file test through SettingsPort.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mosaika {

// Section and key names, as code page 932 bytes.
inline constexpr std::string_view kIniSection = "Section";
inline constexpr std::string_view kKeyBgmMode = "BGM\x8B\xE6\x95\xAA";        // "BGM区分"
inline constexpr std::string_view kKeyBgmRepeat = "BGM\xD8\xCB\xDF\xB0\xC4";  // "BGMﾘﾋﾟｰﾄ"
inline constexpr std::string_view kKeyBgmFile = "BGM\xCC\xA7\xB2\xD9";        // "BGMﾌｧｲﾙ"

// BgmMode values. Others may be stored; they play nothing.
constexpr std::int16_t kBgmNone = 0;
constexpr std::int16_t kBgmCdAudio = 1;
constexpr std::int16_t kBgmSoundFile = 2;

struct MusicSettings {
    std::int16_t BgmMode = kBgmNone;
    std::int16_t BgmRepeat = 0;  // CD track to repeat, 0 for none
    std::string BgmFile;         // full path of an MP3 or WAV file, ANSI bytes
};

class SettingsPort {
public:
    virtual ~SettingsPort() = default;
    // GetPrivateProfileStringA with an empty default and a 256-byte buffer:
    // the value up to its first zero byte; empty when file, section or key
    // is missing.
    virtual std::string ReadIniValue(const std::string& section, const std::string& key,
                                     const std::string& file) = 0;
    // WritePrivateProfileStringA; true when the platform wrote the value.
    virtual bool WriteIniValue(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file) = 0;
    // Opens the file for sequential reading and closes it at once: true when
    // the open succeeded, false for any failure (missing, a folder, no access).
    virtual bool CanOpenForReading(const std::string& path) = 0;
};

// The path with one trailing backslash removed. Code-page aware: the byte
// 0x5C that ends a double-byte character (as in "ソ" or "表") is not a
// backslash and stays.
std::string WithoutTrailingBackslash(std::string_view ansiPath);

// True when the file can be opened for reading, after the trailing-backslash
// rule above. A folder is never a file, with or without the backslash.
bool FileExists(SettingsPort& port, std::string_view ansiPath);

// Reads "BGM区分", "BGMﾘﾋﾟｰﾄ" and "BGMﾌｧｲﾙ" from section "Section" of
// settingsFile, in this order, into settings. An empty number reads 0; a
// number that cannot be read keeps the value settings had. An empty or
// missing music file empties BgmFile and turns the sound-file source off.
void LoadSettings(MusicSettings& settings, SettingsPort& port, const std::string& settingsFile);

// Writes the three keys in the same order: the numbers with a leading blank
// (" 2", "-1"), the path unchanged. Every key is tried; true when all three
// were written.
bool SaveSettings(const MusicSettings& settings, SettingsPort& port, const std::string& settingsFile);

enum class MusicFileType { Other, Wav, Mp3 };

// Decided by the last three characters of the path, upper-cased: "WAV" or
// "MP3". The dot is not part of the test, so "song.mp3" and "xmp3" are MP3,
// "song.wave" is neither.
MusicFileType MusicFileTypeOf(std::string_view bgmFile);

}  // namespace mosaika
