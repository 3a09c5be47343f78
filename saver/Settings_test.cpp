// The edge rows of the ini reader and writer (IniFileTesting.h) and of the
// settings loader and saver; Settings_fuzz holds the path and file-type
// rules. The keys' Shift-JIS bytes are proven on the real programs
// (tests/system writes and reads the ini files).
#include "Settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "IniFile.h"
#include "IniFileTesting.h"
#include "SettingsTesting.h"

namespace mosaika {
namespace {

using ini_rows::M, ini_rows::R, ini_rows::F;

TEST(IniFile, ReadsAndWritesAsAJapaneseWindows) {
    for (const ini_rows::Row& row : ini_rows::Rows()) {
        EXPECT_EQ(row.write ? WriteIniValue(row.file, row.section, row.key, *row.write)
                            : std::optional(ReadIniValue(row.file, row.section, row.key)),
                  row.expected)
            << row.name;
    }
}

// A settings file holding the values that are not empty.
std::string Ini(const std::string& mode, const std::string& repeat, const std::string& music) {
    std::string ini = "[Section]\r\n";
    for (const auto& [key, value] : {std::pair{M, mode}, {R, repeat}, {F, music}}) {
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
        EXPECT_EQ((std::tie(settings.BgmMode, settings.BgmRepeat, settings.BgmFile)),
                  (std::tie(row.expected.BgmMode, row.expected.BgmRepeat, row.expected.BgmFile)))
            << row.name;
    }
}

TEST(Settings, SaveSetsTheThreeKeysAndReplacesTheFileOnceOrNotAtAll) {
    const std::string others = "; mine\r\n[Other]\r\nx=1\r\n", ini = others + "[Section]\r\n" + R + "= 7\r\n";
    const struct {
        const char* name;
        std::optional<std::string> ini;
        std::string music;
        bool replaceFails;
        std::optional<std::string> saved;  // nothing: the save fails, the file stays
    } rows[] = {
        {"other lines stay; a key set in place, new ones after it", ini, "C:\\a b\\x.wav", false,
         others + "[Section]\r\n" + R + "=-1\r\n" + M + "= 2\r\n" + F + "=C:\\a b\\x.wav\r\n"},
        {"a file that cannot be read is never overwritten", std::nullopt, "C:\\x.wav", false, {}},
        {"a path holding a line break is refused whole", ini, "C:\\x\r\n.wav", false, {}},
        {"the replacement fails", ini, "C:\\x.wav", true, {}},
    };
    for (const auto& row : rows) {
        FakeSettingsPort port;
        port.file = row.ini;
        port.replaceFails = row.replaceFails;
        EXPECT_EQ(SaveSettings({2, -1, row.music}, port), row.saved.has_value()) << row.name;
        EXPECT_EQ(port.file, row.saved ? row.saved : row.ini) << row.name;
        EXPECT_EQ(port.replaced, row.saved || row.replaceFails ? 1 : 0) << row.name;
    }
}

}  // namespace
}  // namespace mosaika
