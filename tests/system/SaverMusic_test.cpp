// The background music of a saver run, heard through the audio sink (see
// SaverSystemTest.h). The ini file is written as the settings dialog writes it
// ("BGM区分= 2"; tone.Wav: as Wine's profile writer, without the blank).
#include <gtest/gtest.h>

#include <string>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

enum class Content { Wav, Mp3, None };

// One saver run with this music, a file in the test folder (nullptr: the audio CD).
void ExpectMusic(const wchar_t* name, Content content, const Hearing& hearing) {
    SCOPED_TRACE(Cp932(name ? name : L"audio CD"));
    SaverFolder folder(L"Music");
    std::string settings = MusicSettingsIni(1, 3, L"");
    if (name) {
        const std::wstring file = folder.File(name);
        if (content == Content::Wav) { ASSERT_TRUE(WriteBytes(file, SineWave(400))); }
        if (content == Content::Mp3) {  // 1 s of 440 Hz, made at build time
            ASSERT_TRUE(CopyFileW(TestFile(L"tone.mp3").c_str(), file.c_str(), FALSE)) << "no tone.mp3: sox with MP3?";
        }
        settings = MusicSettingsIni(2, 0, file, std::wstring(name) != L"tone.Wav");
    }
    ASSERT_TRUE(WriteBytes(folder.Ini(), settings));
    ExpectSaverRunHears(folder, hearing);
}

// Shift-JIS "ソ" ends in the byte of a backslash. A 0.4 s WAV file loops; a
// 1 s MP3 is over well before 1.6 s, so heard then it was started again.
TEST(SaverMusicTest, WavAndMp3FilesLoopThroughTheRunAndStopWithIt) {
    ExpectMusic(L"ソナタ 440.wav", Content::Wav, {2000, 1000, true, false});
    ExpectMusic(L"ソナタ 1秒.mp3", Content::Mp3, {4000, 1600, true, false});
}

// The type is the end of the name in any letter case. Wine offers no CD drive.
TEST(SaverMusicTest, TypeIsTheNamesEndInAnyCaseAVanishedFileOrNoCdDriveGivesSilence) {
    ExpectMusic(L"tone.Wav", Content::Wav, {1000, 0, true, false});
    ExpectMusic(L"tone.wave", Content::Wav, {1000, 0, false, false});
    ExpectMusic(L"tone.mid", Content::Wav, {1000, 0, false, false});
    ExpectMusic(L"消えた曲.wav", Content::None, {1000, 0, false, true});
    ExpectMusic(nullptr, Content::None, {1000, 0, false, false});
}

}  // namespace
