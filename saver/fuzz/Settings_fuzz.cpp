// Fuzzes the settings loader and the two path rules with arbitrary bytes.
//
// The input is "mode\nrepeat\nfile\noptions": the three ini values as the
// platform would return them (a missing line is a missing key), then option
// bytes: bit 0 of the first makes the music file unopenable, the next four
// give the BgmMode and BgmRepeat the settings held before loading, and the
// rest their BgmFile. The fake platform cuts a value at its first zero byte
// and to the 255 bytes GetPrivateProfileStringA fits into a 256-byte buffer.
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "Numbers.h"
#include "Settings.h"

namespace {

using mosaika::MusicFileType;
using mosaika::MusicFileTypeOf;
using mosaika::MusicSettings;
using mosaika::WithoutTrailingBackslash;

constexpr std::size_t kProfileValueMax = 255;
const std::string kSettingsFile = "C:\\\x83\x5C\x83\x74\x83\x67\\Mosaika.ini";  // "C:\ソフト\Mosaika.ini"

std::string AsPlatformReturns(std::string_view value) {
    value = value.substr(0, value.find('\0'));
    return std::string(value.substr(0, kProfileValueMax));
}

class FakeProfile : public mosaika::SettingsPort {
public:
    explicit FakeProfile(bool filesOpen) : filesOpen_(filesOpen) {}

    std::string ReadIniValue(const std::string& section, const std::string& key,
                             const std::string& file) override {
        FUZZ_CHECK(section == mosaika::kIniSection, "values are read from section \"Section\"");
        FUZZ_CHECK(file == kSettingsFile, "values are read from the settings file given");
        reads.push_back(key);
        const auto found = values.find(key);
        return found == values.end() ? std::string() : AsPlatformReturns(found->second);
    }

    void WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override {
        FUZZ_CHECK(section == mosaika::kIniSection, "values are written to section \"Section\"");
        FUZZ_CHECK(file == kSettingsFile, "values are written to the settings file given");
        writes.push_back(key);
        values[key] = value;
    }

    bool CanOpenForReading(const std::string& path) override {
        opened.push_back(path);
        return filesOpen_;
    }

    std::map<std::string, std::string> values;
    std::vector<std::string> reads;
    std::vector<std::string> writes;
    std::vector<std::string> opened;

private:
    bool filesOpen_;
};

const std::vector<std::string> kKeysInOrder = {std::string(mosaika::kKeyBgmMode),
                                              std::string(mosaika::kKeyBgmRepeat),
                                              std::string(mosaika::kKeyBgmFile)};

bool SameSettings(const MusicSettings& a, const MusicSettings& b) {
    return a.BgmMode == b.BgmMode && a.BgmRepeat == b.BgmRepeat && a.BgmFile == b.BgmFile;
}

// What loading must give, stated from the values the platform returns.
MusicSettings ExpectedAfterLoad(const MusicSettings& before, FakeProfile& port, bool filesOpen) {
    const auto value = [&port](const std::string& key) {
        const auto found = port.values.find(key);
        return found == port.values.end() ? std::string() : AsPlatformReturns(found->second);
    };
    const auto number = [](const std::string& text, std::int16_t old) -> std::int16_t {
        return text.empty() ? std::int16_t{0} : mosaika::FloorToInt16(text).value_or(old);
    };
    MusicSettings expected;
    expected.BgmMode = number(value(kKeysInOrder[0]), before.BgmMode);
    expected.BgmRepeat = number(value(kKeysInOrder[1]), before.BgmRepeat);
    expected.BgmFile = filesOpen ? value(kKeysInOrder[2]) : std::string();
    if (expected.BgmFile.empty() && expected.BgmMode == mosaika::kBgmSoundFile) {
        expected.BgmMode = mosaika::kBgmNone;
    }
    return expected;
}

MusicSettings LoadAndCheck(const MusicSettings& before, FakeProfile& port, bool filesOpen) {
    port.reads.clear();
    port.writes.clear();
    port.opened.clear();
    MusicSettings settings = before;
    mosaika::LoadSettings(settings, port, kSettingsFile);

    FUZZ_CHECK(port.reads == kKeysInOrder, "the three keys are read once each, in order");
    FUZZ_CHECK(port.writes.empty(), "loading writes nothing");
    const auto fileValue = port.values.find(kKeysInOrder[2]);
    const std::string file = fileValue == port.values.end() ? std::string() : AsPlatformReturns(fileValue->second);
    if (file.empty()) {
        FUZZ_CHECK(port.opened.empty(), "an empty music file is not looked for");
    } else {
        FUZZ_CHECK(port.opened.size() == 1 && port.opened[0] == WithoutTrailingBackslash(file),
                   "the music file is looked for once, without a trailing backslash");
    }

    FUZZ_CHECK(!(settings.BgmMode == mosaika::kBgmSoundFile && settings.BgmFile.empty()),
               "BgmMode 2 never survives with an empty BgmFile");
    FUZZ_CHECK(settings.BgmFile.size() <= kProfileValueMax, "BgmFile holds what the platform returned");
    FUZZ_CHECK(SameSettings(settings, ExpectedAfterLoad(before, port, filesOpen)),
               "each setting follows its reading rule");
    return settings;
}

void CheckLoadSaveLoad(std::string_view data) {
    std::vector<std::string_view> lines;
    std::string_view rest = data;
    while (lines.size() < 3) {
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos) {
            break;
        }
        lines.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    std::string_view options;
    if (lines.size() < 3) {
        lines.push_back(rest);  // the last line given, without a line end
    } else {
        options = rest;
    }

    const bool filesOpen = options.empty() || (static_cast<unsigned char>(options[0]) & 1) == 0;
    MusicSettings before;
    if (options.size() >= 5) {
        std::memcpy(&before.BgmMode, options.data() + 1, 2);
        std::memcpy(&before.BgmRepeat, options.data() + 3, 2);
        before.BgmFile = std::string(options.substr(5));
    }

    FakeProfile port(filesOpen);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        port.values[kKeysInOrder[k]] = std::string(lines[k]);
    }
    const MusicSettings loaded = LoadAndCheck(before, port, filesOpen);
    FUZZ_CHECK(SameSettings(LoadAndCheck(loaded, port, filesOpen), loaded), "loading twice changes nothing");

    // What was loaded is written back and reads the same.
    FakeProfile saved(filesOpen);
    mosaika::SaveSettings(loaded, saved, kSettingsFile);
    FUZZ_CHECK(saved.writes == kKeysInOrder, "the three keys are written once each, in order");
    FUZZ_CHECK(saved.values[kKeysInOrder[0]] == mosaika::FormatLeadingBlank(loaded.BgmMode),
               "BgmMode is written with a leading blank");
    FUZZ_CHECK(saved.values[kKeysInOrder[1]] == mosaika::FormatLeadingBlank(loaded.BgmRepeat),
               "BgmRepeat is written with a leading blank");
    FUZZ_CHECK(SameSettings(LoadAndCheck(before, saved, filesOpen), loaded), "saved settings load back");

    // Any settings at all survive a save and a load, but for the file rule.
    FakeProfile any(filesOpen);
    mosaika::SaveSettings(before, any, kSettingsFile);
    const MusicSettings reloaded = LoadAndCheck(MusicSettings{}, any, filesOpen);
    FUZZ_CHECK(reloaded.BgmRepeat == before.BgmRepeat, "every 16-bit BgmRepeat survives a save and a load");
    if (before.BgmMode != mosaika::kBgmSoundFile) {
        FUZZ_CHECK(reloaded.BgmMode == before.BgmMode, "every 16-bit BgmMode survives a save and a load");
    }
}

void CheckPathRules(std::string_view path) {
    const std::string s(path);
    const std::string trimmed = WithoutTrailingBackslash(s);
    FUZZ_CHECK(trimmed == s || (trimmed.size() + 1 == s.size() && s.back() == '\\' && s.starts_with(trimmed)),
               "at most one trailing backslash goes");
    FUZZ_CHECK(WithoutTrailingBackslash("ab" + s) == "ab" + trimmed,
               "single-byte characters in front change nothing");
    FUZZ_CHECK(WithoutTrailingBackslash("\x83\x5C" + s) == "\x83\x5C" + trimmed,
               "a double-byte character in front changes nothing");
    // Whatever the path ends with, "a" ends a character (alone, or as the
    // second byte of a dangling lead byte), so the backslash after it is one;
    // after a lead byte it is the second half of a character and stays.
    FUZZ_CHECK(WithoutTrailingBackslash(s + "a\\") == s + "a", "a backslash that is a character goes");
    FUZZ_CHECK(WithoutTrailingBackslash(s + "a\x83\\") == s + "a\x83\\",
               "a 0x5C that ends a double-byte character stays");
    bool ascii = true;
    for (char c : s) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    if (ascii && !s.empty() && s.back() == '\\') {
        FUZZ_CHECK(trimmed == s.substr(0, s.size() - 1), "an ASCII path loses its trailing backslash");
    }

    const MusicFileType type = MusicFileTypeOf(s);
    if (type != MusicFileType::Other) {
        std::string ending = s.substr(s.size() - 3);
        for (char& c : ending) {
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        FUZZ_CHECK(ending == (type == MusicFileType::Wav ? "WAV" : "MP3"), "the type is the last three bytes");
    }
    FUZZ_CHECK(MusicFileTypeOf(s + ".Mp3") == MusicFileType::Mp3, "any path ending in \".Mp3\" is MP3");
    FUZZ_CHECK(MusicFileTypeOf(s + "a.wAv") == MusicFileType::Wav, "any path ending in \".wAv\" is WAV");
    FUZZ_CHECK(MusicFileTypeOf(s + "a\x83mp3") == MusicFileType::Other,
               "an ending whose \"m\" is half of a double-byte character is no type");
    FUZZ_CHECK(MusicFileTypeOf("\x83\x5C" + s) == type, "a double-byte character in front changes nothing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckLoadSaveLoad(text);
    CheckPathRules(text);
    return 0;
}
