#include "Settings.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Mosaika_BGM.h"

namespace mosaika {
namespace {

// The code page 932 bytes of a UTF-8 text by the host's converter, so the
// byte constants are checked against something other than themselves.
std::string ToCp932(std::string in) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string out(in.size() * 2, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    EXPECT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

TEST(Settings, FixedTextsAreShiftJisBytes) {
    EXPECT_EQ(kKeyBgmMode, ToCp932("BGM区分"));
    EXPECT_EQ(kKeyBgmRepeat, ToCp932("BGMﾘﾋﾟｰﾄ"));
    EXPECT_EQ(kKeyBgmFile, ToCp932("BGMﾌｧｲﾙ"));
    EXPECT_EQ(kNoCommandText, ToCp932("コマンド文字列が指定されていません"));
    EXPECT_EQ(kNoErrorText, ToCp932("Error (文字列が取れません)"));
}

const std::string kFile = "C:\\Saver\\settings.ini";
const std::string kMode(kKeyBgmMode), kRepeat(kKeyBgmRepeat), kMusic(kKeyBgmFile);

// Values by key; every call must name section "Section" and kFile.
struct FakeSettingsPort final : SettingsPort {
    std::map<std::string, std::string> values;
    std::set<std::string> files;
    std::vector<std::string> calls;  // keys read or written ("key=value"), paths opened

    std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& file) override {
        calls.push_back(section == "Section" && file == kFile ? key : "misplaced");
        return values[key];
    }
    void WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override {
        calls.push_back(section == "Section" && file == kFile ? key + '=' + value : "misplaced");
    }
    bool CanOpenForReading(const std::string& path) override {
        calls.push_back(path);
        return files.contains(path);
    }
};

TEST(Settings, LoadSettingsReadsValidatesAndFallsBack) {
    const std::string song = "C:\\My Music\\song.mp3";
    const struct {
        const char* name;
        std::map<std::string, std::string> values;
        MusicSettings before;
        MusicSettings expected;
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
        FakeSettingsPort port;
        port.values = row.values;
        port.files = {song};
        MusicSettings settings = row.before;
        LoadSettings(settings, port, kFile);
        EXPECT_EQ(settings.BgmMode, row.expected.BgmMode);
        EXPECT_EQ(settings.BgmRepeat, row.expected.BgmRepeat);
        EXPECT_EQ(settings.BgmFile, row.expected.BgmFile);
        EXPECT_EQ(std::vector<std::string>(port.calls.begin(), port.calls.begin() + 3),
                  (std::vector<std::string>{kMode, kRepeat, kMusic}));
    }
}

TEST(Settings, SaveSettingsWritesTheThreeKeysInOrder) {
    FakeSettingsPort port;
    SaveSettings({2, -1, "C:\\a b\\x.wav"}, port, kFile);
    EXPECT_EQ(port.calls, (std::vector<std::string>{kMode + "= 2", kRepeat + "=-1", kMusic + "=C:\\a b\\x.wav"}));
}

TEST(Settings, FileExistsDropsOneTrailingBackslashButNoTrailByte) {
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\dir\\", "C:\\dir"},          {"C:\\dir\\\\", "C:\\dir\\"},
        {"\\", ""},                        {"C:\\\xB1\\", "C:\\\xB1"},  // half-width ｱ is one byte
        {"C:\\\x83\x5C", "C:\\\x83\x5C"},  {"C:\\\x83\x5C\\", "C:\\\x83\x5C"},  // ends in ソ
        {"C:\\a\x83", "C:\\a\x83"},        // a cut-off lead byte
    };
    for (const auto& [path, opened] : rows) {
        SCOPED_TRACE(path);
        FakeSettingsPort port;
        port.files = {opened};
        EXPECT_TRUE(FileExists(port, path));
        EXPECT_EQ(port.calls, std::vector<std::string>{opened});
    }
}

TEST(Settings, MusicFileTypeIsTheUpperCasedLastThreeCharacters) {
    const std::pair<std::string, MusicFileType> rows[] = {
        {"C:\\a.wav", MusicFileType::Wav},  {"C:\\a.Mp3", MusicFileType::Mp3},
        {"xmp3", MusicFileType::Mp3},       {"WAV", MusicFileType::Wav},
        {"C:\\a.wave", MusicFileType::Other},  {"av", MusicFileType::Other},
        {"C:\\\x83" "wav", MusicFileType::Other},   // 0x83 0x77 is one character, then "av"
        {"C:\\\x83" "awav", MusicFileType::Wav},
        {"C:\\\x82\x97\x82\x81\x82\x96", MusicFileType::Other},  // full-width ｗａｖ
    };
    for (const auto& [path, expected] : rows) {
        SCOPED_TRACE(path);
        EXPECT_EQ(MusicFileTypeOf(path), expected);
    }
}

}  // namespace
}  // namespace mosaika
