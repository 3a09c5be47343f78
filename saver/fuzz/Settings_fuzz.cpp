// Fuzzes the ini reader and writer, the settings saved into any file, and
// the two path rules. The input is "choice value\nfile": the first byte picks
// the section and key written (and the numbers saved), then the value (also
// the music file saved), then the settings file. Each rule is stated where
// it is checked.
#include <optional>
#include <string>
#include <utility>

#include "AsciiCase.h"
#include "FuzzHarness.h"
#include "IniFile.h"
#include "Numbers.h"
#include "SettingsTesting.h"

namespace {

using namespace mosaika;

// Names that differ in more than the case of ASCII letters; "\x83\x5C" is ソ.
const std::string kSections[] = {std::string(kIniSection), "s", "\x83\x5C"};
const std::string kKeys[] = {std::string(kKeyBgmMode), std::string(kKeyBgmRepeat), std::string(kKeyBgmFile), "k"};

const std::string kBreaks("\r\n\0", 3);

std::string AsRead(const std::string& value) { return ReadIniValue("[s]\nk=" + value, "s", "k"); }

void CheckReadAndWrite(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) {
    const std::optional<std::string> written = WriteIniValue(file, section, key, value);
    FUZZ_CHECK(written.has_value() == (value.find_first_of(kBreaks) == value.npos),
               "a value is refused exactly when it holds CR, LF or a zero byte");
    FUZZ_CHECK(!written || ReadIniValue(*written, section, key) == AsRead(value), "the value written reads back");
    FUZZ_CHECK(!written || WriteIniValue(*written, section, key, value) == written, "writing it again changes nothing");
    for (const std::string& s : kSections) {
        for (const std::string& k : kKeys) {
            const std::string read = ReadIniValue(file, s, k);
            FUZZ_CHECK(read.size() <= kIniValueLimit && read.find_first_of(kBreaks) == read.npos,
                       "a read gives at most 255 bytes, no line break and no zero byte");
            FUZZ_CHECK(!written || (s == section && k == key) || ReadIniValue(*written, s, k) == read,
                       "every other key reads as before");
        }
    }
}

void CheckSaveAndLoad(const std::string& file, const std::string& music, std::int16_t mode, std::int16_t repeat) {
    FakeSettingsPort port;
    port.file = file;
    const std::string path = AsRead(music);
    port.files = {WithoutTrailingBackslash(path)};
    const bool saved = SaveSettings({mode, repeat, music}, port);
    FUZZ_CHECK(saved || (port.file == file && port.replaced == 0), "a refused save writes nothing");
    MusicSettings loaded;
    LoadSettings(loaded, port);
    FUZZ_CHECK(!saved || (loaded.BgmFile == path && loaded.BgmRepeat == repeat &&
                          loaded.BgmMode == (path.empty() && mode == kBgmSoundFile ? kBgmNone : mode)),
               "saved settings load back, whatever else the file holds");
}

void CheckPathRules(const std::string& s) {
    const std::string trimmed = WithoutTrailingBackslash(s);
    FUZZ_CHECK(trimmed == s || trimmed + '\\' == s, "at most one trailing backslash goes");
    FUZZ_CHECK(WithoutTrailingBackslash("ab" + s) == "ab" + trimmed, "single-byte characters in front change nothing");
    FUZZ_CHECK(WithoutTrailingBackslash("\x83\x5C" + s) == "\x83\x5C" + trimmed, "nor does a double-byte character");
    // "a" ends a character (alone, or after a dangling lead byte), so a backslash after it goes;
    // after a lead byte it is the second half of a character and stays.
    FUZZ_CHECK(WithoutTrailingBackslash(s + "a\\") == s + "a", "a backslash that is a character goes");
    FUZZ_CHECK(WithoutTrailingBackslash(s + "a\x83\\") == s + "a\x83\\", "a 0x5C ending a double-byte character stays");

    const MusicFileType type = MusicFileTypeOf(s);
    if (type != MusicFileType::Other) {
        FUZZ_CHECK(AsciiUpper(std::string_view(s).substr(s.size() - 3)) == (type == MusicFileType::Wav ? "WAV" : "MP3"),
                   "the type is the last three bytes");
    }
    FUZZ_CHECK(MusicFileTypeOf(s + ".Mp3") == MusicFileType::Mp3, "any path ending in \".Mp3\" is MP3");
    FUZZ_CHECK(MusicFileTypeOf(s + "a.wAv") == MusicFileType::Wav, "any path ending in \".wAv\" is WAV");
    FUZZ_CHECK(MusicFileTypeOf(s + "a\x83mp3") == MusicFileType::Other, "an \"m\" half of a character is no type");
    FUZZ_CHECK(MusicFileTypeOf("\x83\x5C" + s) == type, "a double-byte character in front changes nothing");
}

void FuzzOne(std::string_view bytes) {
    if (bytes.empty()) return;
    const auto choice = static_cast<unsigned char>(bytes[0]);
    bytes.remove_prefix(1);
    const std::size_t end = bytes.find('\n');
    const std::string value(bytes.substr(0, end));
    const std::string file(end == bytes.npos ? std::string_view() : bytes.substr(end + 1));
    CheckReadAndWrite(file, kSections[choice % 3], kKeys[(choice / 3) % 4], value);
    CheckReadAndWrite(file, kSections[choice % 3], kKeys[(choice / 3) % 4], value + "\r");
    CheckSaveAndLoad(file, value, static_cast<std::int16_t>(choice % 3), static_cast<std::int16_t>(choice - 128));
    CheckPathRules(value);
}

}  // namespace
