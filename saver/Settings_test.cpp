// The edge rows of the settings loader, saver and path rules; Settings_fuzz
// checks every input against the reading rules. The keys' Shift-JIS bytes are
// proven on the real programs (tests/system writes and reads the ini files).
#include "Settings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "SettingsTesting.h"

namespace mosaika {
namespace {

const std::string kMode(kKeyBgmMode), kRepeat(kKeyBgmRepeat), kMusic(kKeyBgmFile);

TEST(Settings, LoadReadsTheThreeKeysFloorsAndFallsBackAndSaveWritesThem) {
    const std::string song = "C:\\My Music\\song.mp3";
    const struct {
        const char* name;
        std::string mode, repeat, file;
        MusicSettings before, expected;
    } rows[] = {
        {"no ini file", "", "", "", {1, 4, "old"}, {0, 0, ""}},
        {"floored", "2.9", "-1.5", song, {}, {2, -2, song}},
        {"unreadable numbers keep their value", "abc", "40000", "", {1, 7, ""}, {1, 7, ""}},
        {"sound file vanished", "2", "", "C:\\gone.mp3", {}, {0, 0, ""}},
        {"CD keeps its mode", "1", "5", "C:\\gone.mp3", {}, {1, 5, ""}},
    };
    for (const auto& row : rows) {
        FakeSettingsPort port("C:\\Saver\\settings.ini");
        port.values = {{kMode, row.mode}, {kRepeat, row.repeat}, {kMusic, row.file}};
        port.files = {song};
        MusicSettings settings = row.before;
        LoadSettings(settings, port, port.file);
        EXPECT_EQ(std::vector(port.calls.begin(), port.calls.begin() + 3), (std::vector{kMode, kRepeat, kMusic}));
        EXPECT_EQ((std::tie(settings.BgmMode, settings.BgmRepeat, settings.BgmFile)),
                  (std::tie(row.expected.BgmMode, row.expected.BgmRepeat, row.expected.BgmFile)))
            << row.name;
    }
    FakeSettingsPort port("C:\\Saver\\settings.ini");
    SaveSettings({2, -1, "C:\\a b\\x.wav"}, port, port.file);
    EXPECT_EQ(port.calls, (std::vector{kMode + "= 2", kRepeat + "=-1", kMusic + "=C:\\a b\\x.wav"}));
}

TEST(Settings, FileExistsDropsOneTrailingBackslashButNoTrailByte) {
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\dir\\\\", "C:\\dir\\"}, {"C:\\\xB1\\", "C:\\\xB1"},  // half-width ｱ is one byte
        {"C:\\\x83\x5C", "C:\\\x83\x5C"}, {"C:\\\x83\x5C\\", "C:\\\x83\x5C"},  // ends in ソ
    };
    for (const auto& [path, opened] : rows) {
        FakeSettingsPort port("");
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
