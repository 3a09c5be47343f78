// The settings store inside the test's own process, under Wine with code
// page 932: the ini file's exact bytes, what the loader makes of broken
// files, a failed save, and the file test.
#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Text.h"
#include "Win32.h"

namespace mosaika {
namespace {

using forms::ToAnsi;

const std::string kMode = "BGM\x8B\xE6\x95\xAA=", kRepeat = "BGM\xD8\xCB\xDF\xB0\xC4=", kFile = "BGM\xCC\xA7\xB2\xD9=";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Ini() const {
        std::ifstream file(ini_, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    static void Write(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    MusicSettings Load() {
        MusicSettings settings;
        WinSettingsPort port;
        LoadSettings(settings, port, ToAnsi(ini_.wstring()));
        return settings;
    }

    const std::filesystem::path folder_ = std::filesystem::current_path() / L"settings store 図";
    const std::filesystem::path ini_ = folder_ / L"モザイカ図.ini";
};

TEST_F(SettingsStoreTest, SavedFileHoldsShiftJisKeysAndLoadsBack) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run under code page 932";
    EXPECT_EQ(Load().BgmMode, 0);
    EXPECT_FALSE(std::filesystem::exists(ini_)) << "reading must not create the file";

    const std::filesystem::path music = folder_ / L"曲 ソ表.wav";  // 0x5C trail bytes in the path
    Write(music, "RIFF");
    WinSettingsPort port;
    EXPECT_FALSE(SaveSettings({}, port, ToAnsi((folder_ / L"無い" / L"x.ini").wstring())));
    EXPECT_TRUE(SaveSettings({kBgmSoundFile, 3, ToAnsi(music.wstring())}, port, ToAnsi(ini_.wstring())));
    // Windows keeps the value's leading blank; Wine's profile writer drops it.
    const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    const std::string blank = wine ? "" : " ";
    EXPECT_EQ(Ini(), "[Section]\r\n" + kMode + blank + "2\r\n" + kRepeat + blank + "3\r\n" + kFile +
                         ToAnsi(music.wstring()) + "\r\n");
    const MusicSettings loaded = Load();
    EXPECT_EQ((std::tuple{loaded.BgmMode, loaded.BgmRepeat, loaded.BgmFile}),
              (std::tuple{kBgmSoundFile, std::int16_t{3}, ToAnsi(music.wstring())}));

    // Broken values as the platform hands them over, with a music file that exists.
    const std::pair<const char*, std::int16_t> rows[] = {{"  1  ", 1}, {"2.9", 2}, {"-1.5", -2}, {"abc", 0},
                                                         {"40000", 0}, {"", 0},    {"1e1", 10},  {"\x8B\xE6", 0}};
    for (const auto& [text, value] : rows) {
        Write(ini_, "[Section]\r\n" + kMode + text + "\r\n" + kRepeat + text + "\r\n" + kFile +
                        ToAnsi(music.wstring()) + "\r\n");
        EXPECT_EQ((std::pair{Load().BgmMode, Load().BgmRepeat}), (std::pair{value, value})) << text;
    }
}

TEST_F(SettingsStoreTest, VanishedMusicFileFallsBackWithoutRewritingAndLongValuesAreCut) {
    for (const std::int16_t mode : {kBgmSoundFile, kBgmCdAudio}) {
        const std::string bytes = "[Section]\r\n" + kMode + std::to_string(mode) + "\r\n" + kFile +
                                  ToAnsi((folder_ / L"消えた.mp3").wstring()) + "\r\n";
        Write(ini_, bytes);
        const MusicSettings loaded = Load();
        EXPECT_EQ(loaded.BgmMode, mode == kBgmSoundFile ? kBgmNone : kBgmCdAudio);
        EXPECT_EQ(loaded.BgmFile, "");
        EXPECT_EQ(Ini(), bytes);
    }
    Write(ini_, "[Section]\r\n" + kFile + std::string(400, 'x') + "\r\n");
    EXPECT_EQ(WinSettingsPort().ReadIniValue(std::string(kIniSection), std::string(kKeyBgmFile), ToAnsi(ini_.wstring())),
              std::string(255, 'x'));
}

TEST_F(SettingsStoreTest, FileExistsIsTrueForReadableFilesOnly) {
    const std::string file = ToAnsi((folder_ / L"在る.wav").wstring()), folder = ToAnsi(folder_.wstring()),
                      absent = ToAnsi((folder_ / L"無い.wav").wstring());
    Write(folder_ / L"在る.wav", "RIFF");
    WinSettingsPort port;
    EXPECT_TRUE(FileExists(port, file));
    EXPECT_TRUE(FileExists(port, file + "\\"));  // one trailing backslash is dropped
    // Of two trailing backslashes one stays, and the file does not open.
    for (const std::string& missing : {folder, folder + "\\", file + "\\\\", absent, std::string()}) {
        EXPECT_FALSE(FileExists(port, missing)) << missing;
    }
}

}  // namespace
}  // namespace mosaika
