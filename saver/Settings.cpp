#include "Settings.h"

#include <utility>
#include <vector>

#include "AsciiCase.h"
#include "IniFile.h"
#include "Numbers.h"
#include "ShiftJis.h"

namespace mosaika {

namespace {

// Offsets at which the characters of the text start. A lead byte at the very
// end has no second byte and counts as a character of its own.
std::vector<std::size_t> CharacterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size();) {
        starts.push_back(pos);
        pos += (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
    }
    return starts;
}

// Empty text reads 0; a number is floored into 16 bits; anything else leaves
// the value as it was.
void ReadNumberSetting(std::int16_t& value, std::string_view file, std::string_view key) {
    const std::string text = ReadIniValue(file, kIniSection, key);
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

void LoadSettings(MusicSettings& settings, SettingsPort& port) {
    const std::string file = port.ReadSettingsFile().value_or(std::string());
    ReadNumberSetting(settings.BgmMode, file, kKeyBgmMode);
    ReadNumberSetting(settings.BgmRepeat, file, kKeyBgmRepeat);

    settings.BgmFile = ReadIniValue(file, kIniSection, kKeyBgmFile);
    if (settings.BgmFile.empty() || !FileExists(port, settings.BgmFile)) {
        settings.BgmFile.clear();
        if (settings.BgmMode == kBgmSoundFile) {
            settings.BgmMode = kBgmNone;
        }
    }
}

bool SaveSettings(const MusicSettings& settings, SettingsPort& port) {
    std::optional<std::string> file = port.ReadSettingsFile();
    for (const auto& [key, value] : {std::pair{kKeyBgmMode, FormatLeadingBlank(settings.BgmMode)},
                                     {kKeyBgmRepeat, FormatLeadingBlank(settings.BgmRepeat)},
                                     {kKeyBgmFile, settings.BgmFile}}) {
        if (file) file = WriteIniValue(*file, kIniSection, key, value);
    }
    return file && port.ReplaceSettingsFile(*file);
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
    const std::string ending = AsciiUpper(bgmFile.substr(tail));
    if (ending == "WAV") {
        return MusicFileType::Wav;
    }
    if (ending == "MP3") {
        return MusicFileType::Mp3;
    }
    return MusicFileType::Other;
}

}  // namespace mosaika
