// Fuzzes the settings loader and the two path rules. The input is
// "mode\nrepeat\nfile\noptions": the three ini values (a missing line is a
// missing key), then option bytes: bit 0 of the first makes the music file
// unopenable, the next four give the BgmMode and BgmRepeat held before
// loading, the rest their BgmFile. The store answers as the platform does.
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "FuzzHarness.h"
#include "Numbers.h"
#include "SettingsTesting.h"

namespace {

using namespace mosaika;

const std::string kFile = "C:\\\x83\x5C\x83\x74\x83\x67\\Mosaika.ini";  // "C:\ソフト\Mosaika.ini"
const std::string kKeys[] = {std::string(kKeyBgmMode), std::string(kKeyBgmRepeat), std::string(kKeyBgmFile)};

bool Same(const MusicSettings& a, const MusicSettings& b) {
    return std::tie(a.BgmMode, a.BgmRepeat, a.BgmFile) == std::tie(b.BgmMode, b.BgmRepeat, b.BgmFile);
}

// Loads from the store over `before`, checking the calls and each setting's reading rule.
MusicSettings LoadAndCheck(const MusicSettings& before, FakeSettingsPort& port, bool filesOpen) {
    const auto value = [&port](std::size_t k) { return FakeSettingsPort::AsReturned(port.values[kKeys[k]]); };
    const auto number = [](const std::string& text, std::int16_t old) {
        return text.empty() ? std::int16_t{0} : FloorToInt16(text).value_or(old);
    };
    const std::string file = value(2);
    port.calls.clear();
    port.files = {};
    if (filesOpen) port.files.insert(WithoutTrailingBackslash(file));
    MusicSettings settings = before;
    LoadSettings(settings, port, kFile);

    std::vector<std::string> calls(std::begin(kKeys), std::end(kKeys));
    if (!file.empty()) calls.push_back(WithoutTrailingBackslash(file));
    FUZZ_CHECK(port.calls == calls, "three keys read in order, the music file looked for once, nothing written");
    MusicSettings expected{number(value(0), before.BgmMode), number(value(1), before.BgmRepeat), filesOpen ? file : ""};
    if (expected.BgmFile.empty() && expected.BgmMode == kBgmSoundFile) expected.BgmMode = kBgmNone;
    FUZZ_CHECK(Same(settings, expected), "each setting follows its reading rule");
    return settings;
}

void CheckLoadSaveLoad(std::string_view data) {
    FakeSettingsPort port(kFile);
    for (std::size_t k = 0, end = 0; k < 3 && end != std::string_view::npos; ++k) {
        end = data.find('\n');
        port.values[kKeys[k]] = std::string(data.substr(0, end));
        data = end == std::string_view::npos ? std::string_view() : data.substr(end + 1);
    }
    const bool filesOpen = data.empty() || (static_cast<unsigned char>(data[0]) & 1) == 0;
    MusicSettings before;
    if (data.size() >= 5) {
        std::memcpy(&before.BgmMode, data.data() + 1, 2);
        std::memcpy(&before.BgmRepeat, data.data() + 3, 2);
        before.BgmFile = std::string(data.substr(5));
    }
    const MusicSettings loaded = LoadAndCheck(before, port, filesOpen);
    FUZZ_CHECK(Same(LoadAndCheck(loaded, port, filesOpen), loaded), "loading twice changes nothing");

    // What was loaded is written back with leading blanks, and reads the same.
    FakeSettingsPort saved(kFile);
    SaveSettings(loaded, saved, kFile);
    FUZZ_CHECK(saved.calls == (std::vector<std::string>{kKeys[0] + '=' + FormatLeadingBlank(loaded.BgmMode),
                                                       kKeys[1] + '=' + FormatLeadingBlank(loaded.BgmRepeat),
                                                       kKeys[2] + '=' + loaded.BgmFile}),
               "the three keys are written once each, in order, numbers with a leading blank");
    FUZZ_CHECK(Same(LoadAndCheck(before, saved, filesOpen), loaded), "saved settings load back");
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
        std::string ending = s.substr(s.size() - 3);
        for (char& c : ending) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        FUZZ_CHECK(ending == (type == MusicFileType::Wav ? "WAV" : "MP3"), "the type is the last three bytes");
    }
    FUZZ_CHECK(MusicFileTypeOf(s + ".Mp3") == MusicFileType::Mp3, "any path ending in \".Mp3\" is MP3");
    FUZZ_CHECK(MusicFileTypeOf(s + "a.wAv") == MusicFileType::Wav, "any path ending in \".wAv\" is WAV");
    FUZZ_CHECK(MusicFileTypeOf(s + "a\x83mp3") == MusicFileType::Other, "an \"m\" half of a character is no type");
    FUZZ_CHECK(MusicFileTypeOf("\x83\x5C" + s) == type, "a double-byte character in front changes nothing");
}

void FuzzOne(std::string_view bytes) {
    CheckLoadSaveLoad(bytes);
    CheckPathRules(std::string(bytes));
}

}  // namespace
