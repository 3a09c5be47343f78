// The three music settings and the ini file that keeps them beside the
// program: the section and key names, the loader with its validation, the
// writer, the file test, and the file-type decision of the saver run.
//
// The ini file is Shift-JIS (code page 932) on every system, as a Japanese
// Windows writes it, so names, values and paths here are Shift-JIS bytes.
// IniFile reads and writes its text; the platform reads and replaces the
// file and answers the file test through SettingsPort.
#pragma once

#include <cstdint>
#include <optional>
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
    std::string BgmFile;         // full path of an MP3 or WAV file, Shift-JIS bytes
};

class SettingsPort {
public:
    virtual ~SettingsPort() = default;
    // The settings file's bytes: empty when there is no file, nothing when it
    // is there but cannot be read.
    virtual std::optional<std::string> ReadSettingsFile() = 0;
    // Puts bytes in the settings file's place in one step: afterwards the
    // file holds either all of them or, on false, exactly what it held.
    virtual bool ReplaceSettingsFile(const std::string& bytes) = 0;
    // Opens the file at the Shift-JIS path for sequential reading and closes
    // it at once: true when the open succeeded, false for any failure
    // (missing, a folder, no access).
    virtual bool CanOpenForReading(const std::string& path) = 0;
};

// The path with one trailing backslash removed. Code-page aware: the byte
// 0x5C that ends a double-byte character (as in "ソ" or "表") is not a
// backslash and stays.
std::string WithoutTrailingBackslash(std::string_view ansiPath);

// True when the file can be opened for reading, after the trailing-backslash
// rule above. A folder is never a file, with or without the backslash.
bool FileExists(SettingsPort& port, std::string_view ansiPath);

// Reads "BGM区分", "BGMﾘﾋﾟｰﾄ" and "BGMﾌｧｲﾙ" from section "Section" of the
// settings file, in this order, into settings; a file that cannot be read
// reads as none. An empty number reads 0; a number that cannot be read keeps
// the value settings had. An empty or missing music file empties BgmFile and
// turns the sound-file source off.
void LoadSettings(MusicSettings& settings, SettingsPort& port);

// Sets the three keys in the same order in the file's bytes, the numbers with
// a leading blank (" 2", "-1"), the path unchanged, and replaces the file
// once. False, with the file untouched, when it cannot be read (its other
// lines would be lost), the path cannot be stored (a line break or zero byte
// in it) or the replacement fails.
bool SaveSettings(const MusicSettings& settings, SettingsPort& port);

enum class MusicFileType { Other, Wav, Mp3 };

// Decided by the last three characters of the path, upper-cased: "WAV" or
// "MP3". The dot is not part of the test, so "song.mp3" and "xmp3" are MP3,
// "song.wave" is neither.
MusicFileType MusicFileTypeOf(std::string_view bgmFile);

}  // namespace mosaika
