#include "Settings.h"

#include <vector>

#include "Numbers.h"

namespace mosaika {

namespace {

// Code page 932: these bytes open a two-byte character, whose second byte
// may be any of 0x40..0xFC, the backslash and ASCII letters among them.
bool IsLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Offsets at which the characters of the text start. A lead byte at the very
// end has no second byte and counts as a character of its own.
std::vector<std::size_t> CharacterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size();) {
        starts.push_back(pos);
        pos += (IsLeadByte(text[pos]) && pos + 1 < text.size()) ? 2 : 1;
    }
    return starts;
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Empty text reads 0; a number is floored into 16 bits; anything else leaves
// the value as it was.
void ReadNumberSetting(std::int16_t& value, SettingsPort& port, std::string_view key,
                       const std::string& settingsFile) {
    const std::string text = port.ReadIniValue(std::string(kIniSection), std::string(key), settingsFile);
    if (text.empty()) {
        value = 0;
        return;
    }
    if (const std::optional<std::int16_t> number = FloorToInt16(text)) {
        value = *number;
    }
}

}  // namespace

std::string WithoutTrailingBackslash(std::string_view ansiPath) {
    const std::vector<std::size_t> starts = CharacterStarts(ansiPath);
    if (!starts.empty() && starts.back() == ansiPath.size() - 1 && ansiPath.back() == '\\') {
        ansiPath.remove_suffix(1);
    }
    return std::string(ansiPath);
}

bool FileExists(SettingsPort& port, std::string_view ansiPath) {
    return port.CanOpenForReading(WithoutTrailingBackslash(ansiPath));
}

void LoadSettings(MusicSettings& settings, SettingsPort& port, const std::string& settingsFile) {
    ReadNumberSetting(settings.BgmMode, port, kKeyBgmMode, settingsFile);
    ReadNumberSetting(settings.BgmRepeat, port, kKeyBgmRepeat, settingsFile);

    settings.BgmFile = port.ReadIniValue(std::string(kIniSection), std::string(kKeyBgmFile), settingsFile);
    if (settings.BgmFile.empty() || !FileExists(port, settings.BgmFile)) {
        settings.BgmFile.clear();
        if (settings.BgmMode == kBgmSoundFile) {
            settings.BgmMode = kBgmNone;
        }
    }
}

bool SaveSettings(const MusicSettings& settings, SettingsPort& port, const std::string& settingsFile) {
    const std::string section(kIniSection);
    const bool mode = port.WriteIniValue(section, std::string(kKeyBgmMode), FormatLeadingBlank(settings.BgmMode),
                                         settingsFile);
    const bool repeat = port.WriteIniValue(section, std::string(kKeyBgmRepeat),
                                           FormatLeadingBlank(settings.BgmRepeat), settingsFile);
    const bool file = port.WriteIniValue(section, std::string(kKeyBgmFile), settings.BgmFile, settingsFile);
    return mode && repeat && file;
}

MusicFileType MusicFileTypeOf(std::string_view bgmFile) {
    const std::vector<std::size_t> starts = CharacterStarts(bgmFile);
    if (starts.size() < 3) {
        return MusicFileType::Other;
    }
    const std::size_t tail = starts[starts.size() - 3];
    if (bgmFile.size() - tail != 3) {
        return MusicFileType::Other;  // a double-byte character among the last three
    }
    std::string ending(bgmFile.substr(tail));
    for (char& c : ending) {
        c = AsciiUpper(c);
    }
    if (ending == "WAV") {
        return MusicFileType::Wav;
    }
    if (ending == "MP3") {
        return MusicFileType::Mp3;
    }
    return MusicFileType::Other;
}

}  // namespace mosaika
