// The background music of a saver run, heard through the audio sink, a file
// the wrapper points the sound device at: it starts afresh whenever a program
// opens the device, and an open MP3 device writes zero bytes while stopped, so
// the non-zero bytes are the sound. The ini file is written as the settings
// dialog writes it ("BGM区分= 2"; tone.Wav: as Wine's profile writer, without
// the blank). Whatever the music, the run goes on and the ini file stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

enum class Content { Wav, Mp3, None };

struct MusicRow {
    const wchar_t* file;  // in the test folder; nullptr: the audio CD
    Content content;
    DWORD listenMs;
    DWORD againAfterMs;  // heard again this long after the first sound; 0: heard at all
    bool sound;
    bool sinkUntouched;  // the sound device is never opened
};

// One saver run with this music; it plays, loops or stays silent, and stops with the run.
void ExpectMusic(const MusicRow& row) {
    SCOPED_TRACE(Cp932(row.file ? row.file : L"audio CD"));
    SaverFolder folder(L"Music");
    std::string settings = MusicSettingsIni(1, 3, L"");
    if (row.file) {
        const std::wstring file = folder.File(row.file);
        if (row.content == Content::Wav) { ASSERT_TRUE(WriteBytes(file, SineWave(400))); }
        if (row.content == Content::Mp3) {  // 1 s of 440 Hz, made at build time
            ASSERT_TRUE(CopyFileW(TestFile(L"tone.mp3").c_str(), file.c_str(), FALSE)) << "no tone.mp3: sox with MP3?";
        }
        settings = MusicSettingsIni(2, 0, file, std::wstring(row.file) != L"tone.Wav");
    }
    ASSERT_TRUE(WriteBytes(folder.Ini(), settings));

    AudioSinkEar ear;
    const Process saver = folder.StartSaver(L"/s");
    HWND kanvas = WaitForRendererWindow();
    ASSERT_NE(kanvas, nullptr) << "the renderer must start whatever the music";
    const Process renderer = Process::OfWindow(kanvas);
    // A look every 100 ms; sound is 1 KiB of non-zero bytes in one look.
    std::vector<DWORD> soundAt;  // the saver's age at each look that heard sound
    long long bytes = 0;
    std::string picture;  // '#' sound, '.' silence written, ' ' nothing written
    for (const DWORD start = GetTickCount(); GetTickCount() - start < row.listenMs;) {
        SleepMs(100);
        const Heard heard = ear.Listen();
        if (heard.soundBytes >= 1024) soundAt.push_back(saver.Age());
        bytes += heard.bytes;
        picture += heard.soundBytes >= 1024 ? '#' : heard.bytes > 0 ? '.' : ' ';
    }
    std::printf("sink received %lld bytes; every 100 ms: [%s]\n", bytes, picture.c_str());
    const auto soundFrom = [&soundAt](DWORD ms) {
        const auto at = std::lower_bound(soundAt.begin(), soundAt.end(), ms);
        return at == soundAt.end() ? DWORD{0} : *at;
    };
    const DWORD first = soundFrom(0);
    EXPECT_EQ(first != 0, row.sound) << "sound heard or missed";
    if (row.againAfterMs) { EXPECT_NE(soundFrom(first + row.againAfterMs), 0u) << "the file did not play again"; }
    if (row.sinkUntouched) { EXPECT_EQ(bytes, 0) << "the sound device was opened"; }
    EXPECT_TRUE(saver.Running());
    EXPECT_EQ(MessageBoxOf(saver.Id()), nullptr) << "a message box";
    EndRun(saver, kanvas, renderer, RendererEnd::EscapeKey);

    // After the run the device is closed: the sink stops growing.
    ear.Listen();
    SleepMs(300);
    ear.Listen();
    SleepMs(1000);
    EXPECT_EQ(ear.Listen().bytes, 0) << "the sink still grows after the run";
    EXPECT_EQ(ReadBytes(folder.Ini()), settings) << "the ini file was rewritten";
}

// Shift-JIS "ソ" ends in the byte of a backslash. A 0.4 s WAV file loops; a
// 1 s MP3 is over well before 1.6 s, so heard then it was started again.
TEST(SaverMusicTest, WavAndMp3FilesLoopThroughTheRunAndStopWithIt) {
    ExpectMusic({L"ソナタ 440.wav", Content::Wav, 2000, 1000, true, false});
    ExpectMusic({L"ソナタ 1秒.mp3", Content::Mp3, 4000, 1600, true, false});
}

// The type is the end of the name in any letter case. Wine offers no CD drive.
TEST(SaverMusicTest, TypeIsTheNamesEndInAnyCaseAVanishedFileOrNoCdDriveGivesSilence) {
    ExpectMusic({L"tone.Wav", Content::Wav, 1000, 0, true, false});
    ExpectMusic({L"tone.wave", Content::Wav, 1000, 0, false, false});
    ExpectMusic({L"tone.mid", Content::Wav, 1000, 0, false, false});
    ExpectMusic({L"消えた曲.wav", Content::None, 1000, 0, false, true});
    ExpectMusic({nullptr, Content::None, 1000, 0, false, false});
}

}  // namespace
