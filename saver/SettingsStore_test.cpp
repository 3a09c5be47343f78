// The settings store inside the test's own process, under Wine with code
// page 932, for what the system tests cannot see from outside: paths whose
// double-byte characters end in 0x5C through the profile functions, the
// 255-byte value limit and the file test on folders and backslashes. The
// ini file's bytes, a failed save and a vanished music file are proven on
// the real programs (tests/system).
#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "Text.h"
#include "Win32.h"

namespace mosaika {
namespace {

std::string ToAnsi(const std::wstring& text) { return forms::ToCp932(text).value(); }

TEST(SettingsStoreTest, PathsWithTrailBytes0x5CRoundTripAndTheFileTestDropsOneBackslash) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run under code page 932";
    const std::filesystem::path folder = std::filesystem::current_path() / L"settings store ソ表";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string ini = ToAnsi((folder / L"モザイカ図.ini").wstring());
    const std::string music = ToAnsi((folder / L"曲 ソ.wav").wstring());
    std::ofstream(folder / L"曲 ソ.wav", std::ios::binary) << "RIFF";

    WinSettingsPort port;
    ASSERT_TRUE(SaveSettings({kBgmSoundFile, -3, music}, port, ini));
    MusicSettings loaded;
    LoadSettings(loaded, port, ini);
    EXPECT_EQ((std::tuple{loaded.BgmMode, loaded.BgmRepeat, loaded.BgmFile}),
              (std::tuple{kBgmSoundFile, std::int16_t{-3}, music}));
    ASSERT_TRUE(port.WriteIniValue("Section", "long", std::string(400, 'x'), ini));
    EXPECT_EQ(port.ReadIniValue("Section", "long", ini), std::string(255, 'x'));

    // Of two trailing backslashes one stays, and the file does not open; a folder is no file.
    const std::string absent = ToAnsi((folder / L"無い.wav").wstring()), dir = ToAnsi(folder.wstring());
    for (const auto& [path, exists] : {std::pair{music, true}, {music + "\\", true}, {music + "\\\\", false},
                                       {absent, false}, {dir, false}, {dir + "\\", false}, {std::string(), false}}) {
        EXPECT_EQ(FileExists(port, path), exists) << path;
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace mosaika
