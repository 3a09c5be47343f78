// The settings loader and saver, the path rules and the fixed texts' bytes.
#include "Settings.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "Mosaika_BGM.h"
#include "SettingsTesting.h"

namespace mosaika {
namespace {

const std::string kMode(kKeyBgmMode), kRepeat(kKeyBgmRepeat), kMusic(kKeyBgmFile);

TEST(Settings, FixedTextsAreShiftJisBytes) {
    // By the host's converter, so the byte constants are checked against something other than themselves.
    const auto cp932 = [](std::string in) {
        iconv_t cd = iconv_open("CP932", "UTF-8");
        std::string out(in.size() * 2, '\0');
        char* inPtr = in.data();
        char* outPtr = out.data();
        std::size_t inLeft = in.size(), outLeft = out.size();
        EXPECT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1));
        iconv_close(cd);
        return out.substr(0, out.size() - outLeft);
    };
    EXPECT_EQ(kMode, cp932("BGM区分"));
    EXPECT_EQ(kRepeat, cp932("BGMﾘﾋﾟｰﾄ"));
    EXPECT_EQ(kMusic, cp932("BGMﾌｧｲﾙ"));
    EXPECT_EQ(kNoCommandText, cp932("コマンド文字列が指定されていません"));
    EXPECT_EQ(kNoErrorText, cp932("Error (文字列が取れません)"));
}

TEST(Settings, LoadReadsTheThreeKeysFloorsAndFallsBackAndSaveWritesThem) {
    const std::string song = "C:\\My Music\\song.mp3";
    const struct {
        const char* name;
        std::map<std::string, std::string> values;
        MusicSettings before, expected;
    } rows[] = {
        {"no ini file", {}, {1, 4, "old"}, {0, 0, ""}},
        {"as written", {{kMode, " 2"}, {kRepeat, " 3"}, {kMusic, song}}, {}, {2, 3, song}},
        {"sound file vanished", {{kMode, "2"}, {kMusic, "C:\\gone.mp3"}}, {}, {0, 0, ""}},
        {"CD keeps its mode", {{kMode, "1"}, {kRepeat, "5"}, {kMusic, "C:\\gone.mp3"}}, {}, {1, 5, ""}},
        {"floored", {{kMode, "2.9"}, {kRepeat, "-1.5"}, {kMusic, song}}, {}, {2, -2, song}},
        {"unreadable numbers keep their value", {{kMode, "abc"}, {kRepeat, "40000"}}, {1, 7, ""}, {1, 7, ""}},
        {"unknown source stays", {{kMode, "7"}}, {}, {7, 0, ""}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakeSettingsPort port("C:\\Saver\\settings.ini");
        port.values = row.values;
        port.files = {song};
        MusicSettings settings = row.before;
        LoadSettings(settings, port, port.file);
        EXPECT_EQ(std::vector(port.calls.begin(), port.calls.begin() + 3), (std::vector{kMode, kRepeat, kMusic}));
        EXPECT_EQ((std::tuple{settings.BgmMode, settings.BgmRepeat, settings.BgmFile}),
                  (std::tuple{row.expected.BgmMode, row.expected.BgmRepeat, row.expected.BgmFile}));
    }
    FakeSettingsPort port("C:\\Saver\\settings.ini");
    SaveSettings({2, -1, "C:\\a b\\x.wav"}, port, port.file);
    EXPECT_EQ(port.calls, (std::vector{kMode + "= 2", kRepeat + "=-1", kMusic + "=C:\\a b\\x.wav"}));
}

TEST(Settings, FileExistsDropsOneTrailingBackslashButNoTrailByte) {
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\dir\\", "C:\\dir"},          {"C:\\dir\\\\", "C:\\dir\\"},
        {"\\", ""},                        {"C:\\\xB1\\", "C:\\\xB1"},  // half-width ｱ is one byte
        {"C:\\\x83\x5C", "C:\\\x83\x5C"},  {"C:\\\x83\x5C\\", "C:\\\x83\x5C"},  // ends in ソ
        {"C:\\a\x83", "C:\\a\x83"},        // a cut-off lead byte
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
        {"C:\\a.wav", MusicFileType::Wav},     {"C:\\a.Mp3", MusicFileType::Mp3},
        {"xmp3", MusicFileType::Mp3},          {"WAV", MusicFileType::Wav},
        {"C:\\a.wave", MusicFileType::Other},  {"av", MusicFileType::Other},
        {"C:\\\x83" "wav", MusicFileType::Other},  // 0x83 0x77 is one character, then "av"
        {"C:\\\x83" "awav", MusicFileType::Wav},
        {"C:\\\x82\x97\x82\x81\x82\x96", MusicFileType::Other},  // full-width ｗａｖ
    };
    for (const auto& [path, expected] : rows) EXPECT_EQ(MusicFileTypeOf(path), expected) << path;
}

}  // namespace
}  // namespace mosaika
