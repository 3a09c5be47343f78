// The edge rows of the settings loader, saver and path rules. The ini text's
// rules are IniFile's (IniFile_test); the keys' Shift-JIS bytes are proven on
// the real programs (tests/system writes and reads the ini files).
#include "Settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "SettingsTesting.h"

namespace mosaika {
namespace {

const std::string kMode(kKeyBgmMode), kRepeat(kKeyBgmRepeat), kMusic(kKeyBgmFile);

// A settings file holding the values that are not empty.
std::string Ini(const std::string& mode, const std::string& repeat, const std::string& music) {
    std::string ini = "[Section]\r\n";
    for (const auto& [key, value] : {std::pair{kMode, mode}, {kRepeat, repeat}, {kMusic, music}}) {
        if (!value.empty()) ini += key + '=' + value + "\r\n";
    }
    return ini;
}

TEST(Settings, LoadReadsTheThreeKeysFloorsAndFallsBack) {
    const std::string song = "C:\\My Music\\song.mp3";
    const struct {
        const char* name;
        std::optional<std::string> ini;
        MusicSettings before, expected;
    } rows[] = {
        {"no ini file", "", {1, 4, "old"}, {0, 0, ""}},
        {"an unreadable one reads as none", std::nullopt, {1, 4, "old"}, {0, 0, ""}},
        {"floored", Ini("2.9", "-1.5", song), {}, {2, -2, song}},
        {"unreadable numbers keep their value", Ini("abc", "40000", ""), {1, 7, ""}, {1, 7, ""}},
        {"sound file vanished", Ini("2", "", "C:\\gone.mp3"), {}, {0, 0, ""}},
        {"CD keeps its mode", Ini("1", "5", "C:\\gone.mp3"), {}, {1, 5, ""}},
    };
    for (const auto& row : rows) {
        FakeSettingsPort port;
        port.file = row.ini;
        port.files = {song};
        MusicSettings settings = row.before;
        LoadSettings(settings, port);
        EXPECT_EQ(port.calls.front(), "read") << row.name;
        EXPECT_EQ((std::tie(settings.BgmMode, settings.BgmRepeat, settings.BgmFile)),
                  (std::tie(row.expected.BgmMode, row.expected.BgmRepeat, row.expected.BgmFile)))
            << row.name;
    }
}

TEST(Settings, SaveSetsTheThreeKeysAndReplacesTheFileOnceOrNotAtAll) {
    const std::string others = "; mine\r\n[Other]\r\nx=1\r\n";
    FakeSettingsPort port;
    port.file = others + "[Section]\r\n" + kRepeat + "= 7\r\n";
    EXPECT_TRUE(SaveSettings({2, -1, "C:\\a b\\x.wav"}, port));
    EXPECT_EQ(port.calls, (std::vector<std::string>{"read", "replace"}));
    EXPECT_EQ(port.file, others + "[Section]\r\n" + kRepeat + "=-1\r\n" + kMode + "= 2\r\n" + kMusic +
                             "=C:\\a b\\x.wav\r\n");

    const struct {
        const char* name;
        std::optional<std::string> ini;
        std::string music;
        bool replaceFails;
        std::vector<std::string> calls;
    } failures[] = {
        {"a file that cannot be read is never overwritten", std::nullopt, "C:\\x.wav", false, {"read"}},
        {"a path holding a line break is refused whole", "", "C:\\x\r\n.wav", false, {"read"}},
        {"the replacement fails", "", "C:\\x.wav", true, {"read", "replace"}},
    };
    for (const auto& row : failures) {
        FakeSettingsPort failing;
        failing.file = row.ini;
        failing.replaceFails = row.replaceFails;
        EXPECT_FALSE(SaveSettings({2, 0, row.music}, failing)) << row.name;
        EXPECT_EQ(failing.calls, row.calls) << row.name;
        EXPECT_EQ(failing.file, row.ini) << row.name;
    }
}

TEST(Settings, FileExistsDropsOneTrailingBackslashButNoTrailByte) {
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\dir\\\\", "C:\\dir\\"}, {"C:\\\xB1\\", "C:\\\xB1"},  // half-width ｱ is one byte
        {"C:\\\x83\x5C", "C:\\\x83\x5C"}, {"C:\\\x83\x5C\\", "C:\\\x83\x5C"},  // ends in ソ
    };
    for (const auto& [path, opened] : rows) {
        FakeSettingsPort port;
        port.files = {opened};
        EXPECT_TRUE(FileExists(port, path)) << path;
        EXPECT_EQ(port.calls, std::vector{opened});
    }
}

TEST(Settings, MusicFileTypeIsTheUpperCasedLastThreeCharacters) {
    const std::pair<std::string, MusicFileType> rows[] = {
        {"C:\\a.Mp3", MusicFileType::Mp3},        {"xwav", MusicFileType::Wav},
        {"C:\\a.wave", MusicFileType::Other},     {"av", MusicFileType::Other},
        {"C:\\\x83" "wav", MusicFileType::Other},  // 0x83 0x77 is one character, then "av"
        {"C:\\\x82\x97\x82\x81\x82\x96", MusicFileType::Other},  // full-width ｗａｖ
    };
    for (const auto& [path, expected] : rows) EXPECT_EQ(MusicFileTypeOf(path), expected) << path;
}

}  // namespace
}  // namespace mosaika
