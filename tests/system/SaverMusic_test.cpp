// The background music of a saver run, heard through the audio sink: the
// wrapper points the sound device at a file. Under Wine the file starts afresh
// whenever a program opens the device, and it is not paced in real time; an
// open MP3 device goes on writing zero bytes while it stands stopped, so growth
// alone does not tell sound from silence: the non-zero bytes do.
// Settings are written into the ini file byte for byte as the settings dialog
// writes them on Windows ("BGM区分= 2"; Wine's profile writer would drop the
// blank, and the reader takes either).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

constexpr DWORD kLookEveryMs = 100;
// Fewer non-zero bytes than this in one look count as silence.
constexpr long long kSoundBytes = 1024;

struct Look {
    DWORD ms;  // since the saver's start
    Heard heard;
    bool Sound() const { return heard.soundBytes >= kSoundBytes; }
};

struct Listening {
    std::vector<Look> looks;

    long long Bytes() const {
        long long total = 0;
        for (const Look& look : looks) total += look.heard.bytes;
        return total;
    }
    long long SoundBytes() const {
        long long total = 0;
        for (const Look& look : looks) total += look.heard.soundBytes;
        return total;
    }
    // The time of the first look that heard sound; nothing when none did.
    bool FirstSound(DWORD& ms) const {
        for (const Look& look : looks) {
            if (look.Sound()) {
                ms = look.ms;
                return true;
            }
        }
        return false;
    }
    bool SoundFrom(DWORD ms) const {
        for (const Look& look : looks) {
            if (look.ms >= ms && look.Sound()) return true;
        }
        return false;
    }
    // The longest silence between two sounds, to a look's precision (the
    // sink is written in bursts, so one silent look alone means little);
    // nothing when no sound came after a silence.
    bool LongestPause(DWORD& ms) const {
        bool found = false;
        std::size_t lastSound = looks.size();
        for (std::size_t i = 0; i < looks.size(); ++i) {
            if (!looks[i].Sound()) continue;
            if (lastSound != looks.size() && i > lastSound + 1) {
                const DWORD pause = looks[i - 1].ms - looks[lastSound].ms;
                if (!found || pause > ms) ms = pause;
                found = true;
            }
            lastSound = i;
        }
        return found;
    }
    // One character per look: '#' sound, '.' silence written, ' ' nothing written.
    std::string Picture() const {
        std::string picture;
        for (const Look& look : looks) picture += look.Sound() ? '#' : look.heard.bytes > 0 ? '.' : ' ';
        return picture;
    }
};

// Listens for the given time; the looks are timed from the saver's start.
Listening ListenFor(AudioSinkEar& ear, const Process& saver, DWORD durationMs) {
    Listening listening;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < durationMs) {
        SleepMs(kLookEveryMs);
        listening.looks.push_back({saver.Age(), ear.Listen()});
    }
    return listening;
}

void Print(const char* what, const Listening& listening) {
    std::printf("%s: sink received %lld bytes, %lld of them sound; every %lu ms from %lu ms on: [%s]\n", what,
                listening.Bytes(), listening.SoundBytes(), kLookEveryMs,
                listening.looks.empty() ? 0ul : listening.looks.front().ms, listening.Picture().c_str());
}

// After the run the device is closed: the sink stops growing.
void ExpectSinkStopsGrowing(AudioSinkEar& ear) {
    const Heard untilEnd = ear.Listen();
    SleepMs(300);
    const Heard tail = ear.Listen();
    SleepMs(1000);
    const Heard later = ear.Listen();
    std::printf("  sink: %lld bytes from the last look to the run's end, %lld in the 300 ms after it, "
                "then %lld in 1 s\n",
                untilEnd.bytes, tail.bytes, later.bytes);
    EXPECT_EQ(later.bytes, 0) << "the sink still grows after the run";
}

struct SaverRun {
    Process saver;
    HWND kanvas = nullptr;
    OtherProcess renderer;
};

// Starts a saver run and waits for its renderer's window.
SaverRun StartRun(const SaverFolder& folder) {
    SaverRun run;
    run.saver = folder.StartSaver(L"/s");
    run.kanvas = WaitForWindow(kRendererWindowTitle, kRendererWindowTitle, kWindowTimeoutMs);
    run.renderer = OtherProcess::OfWindow(run.kanvas);
    return run;
}

TEST(SaverMusicTest, WavFileLoopsThroughTheRunAndStopsWithIt) {
    SaverFolder folder(L"Wav music");
    // Shift-JIS "ソ" ends in the byte of a backslash.
    const std::wstring wave = folder.File(L"ソナタ 440.wav");
    const std::string waveBytes = SineWave(400);
    ASSERT_TRUE(WriteBytes(wave, waveBytes));
    ASSERT_TRUE(WriteBytes(folder.Ini(), MusicSettingsIni(2, 0, wave)));

    AudioSinkEar ear;
    const SaverRun run = StartRun(folder);
    ASSERT_NE(run.kanvas, nullptr);
    const Listening listening = ListenFor(ear, run.saver, 2000);
    Print("0.4 s WAV", listening);
    const long long samples = static_cast<long long>(waveBytes.size()) - 44;
    std::printf("  the WAV file holds %lld bytes of samples\n", samples);

    DWORD first = 0;
    ASSERT_TRUE(listening.FirstSound(first)) << "nothing was heard";
    EXPECT_TRUE(listening.SoundFrom(first + 1000)) << "the 0.4 s file did not play again";
    // Played once, the file reaches the sink as its own samples, byte for byte.
    EXPECT_GT(listening.Bytes(), 2 * samples) << "the sink got no more than the file once";
    EXPECT_TRUE(run.saver.Running());
    EndRun(run.saver, run.kanvas, run.renderer, RendererEnd::EscapeKey);
    ExpectSinkStopsGrowing(ear);
}

TEST(SaverMusicTest, Mp3FileStartsAgainAfterItsEndAndStopsWithTheRun) {
    const std::wstring tone = ProbePath(L"tone.mp3");  // 1 s of 440 Hz, made at build time
    ASSERT_TRUE(Exists(tone)) << "tone.mp3 was not built (sox with MP3 support is needed)";
    SaverFolder folder(L"Mp3 music");
    const std::wstring music = folder.File(L"ソナタ 1秒.mp3");
    ASSERT_TRUE(CopyFileW(tone.c_str(), music.c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(folder.Ini(), MusicSettingsIni(2, 0, music)));

    AudioSinkEar ear;
    const SaverRun run = StartRun(folder);
    ASSERT_NE(run.kanvas, nullptr);
    const Listening listening = ListenFor(ear, run.saver, 4000);
    Print("1 s MP3", listening);

    DWORD first = 0;
    ASSERT_TRUE(listening.FirstSound(first)) << "nothing was heard";
    // Played once, the tone is over well before 1.6 s; heard later, it was started again.
    EXPECT_TRUE(listening.SoundFrom(first + 1600)) << "the MP3 was not started again after its end";
    DWORD pause = 0;
    if (listening.LongestPause(pause)) std::printf("  longest silence between sounds: about %lu ms\n", pause);
    EXPECT_TRUE(run.saver.Running());
    EndRun(run.saver, run.kanvas, run.renderer, RendererEnd::EscapeKey);
    ExpectSinkStopsGrowing(ear);
}

TEST(SaverMusicTest, FileTypeIsTheEndOfTheNameInAnyLetterCase) {
    // Each file holds the same WAV sound; only its name differs. One ini file
    // is written as Wine's own profile writer writes it, without the blanks.
    const struct {
        const wchar_t* name;
        bool plays;
        bool wineProfileForm;
    } cases[] = {
        {L"tone.Wav", true, true},
        {L"tone.wave", false, false},
        {L"tone.mid", false, false},
    };
    SaverFolder folder(L"Music names");
    for (const auto& row : cases) {
        SCOPED_TRACE(testing::Message() << Cp932(row.name));
        const std::wstring file = folder.File(row.name);
        ASSERT_TRUE(WriteBytes(file, SineWave(400)));
        std::string settings = MusicSettingsIni(2, 0, file);
        if (row.wineProfileForm) {
            for (std::size_t at; (at = settings.find("= ")) != std::string::npos;) settings.erase(at + 1, 1);
        }
        ASSERT_TRUE(WriteBytes(folder.Ini(), settings));

        AudioSinkEar ear;
        const SaverRun run = StartRun(folder);
        ASSERT_NE(run.kanvas, nullptr) << "the renderer must start whatever the music";
        const Listening listening = ListenFor(ear, run.saver, 1000);
        Print(Cp932(row.name).c_str(), listening);
        DWORD first = 0;
        EXPECT_EQ(listening.FirstSound(first), row.plays);
        EndRun(run.saver, run.kanvas, run.renderer, RendererEnd::CloseRequest);
        DeleteFileW(file.c_str());
    }
}

TEST(SaverMusicTest, AudioCdWithoutADriveLeavesTheRunGoingSilently) {
    // Wine offers no CD drive: opening the device fails and the CD poll stops.
    SaverFolder folder(L"Audio CD");
    const std::string settings = MusicSettingsIni(1, 3, L"");
    ASSERT_TRUE(WriteBytes(folder.Ini(), settings));

    AudioSinkEar ear;
    const SaverRun run = StartRun(folder);
    ASSERT_NE(run.kanvas, nullptr);
    const Listening listening = ListenFor(ear, run.saver, 1000);
    Print("audio CD", listening);
    EXPECT_EQ(listening.SoundBytes(), 0);
    EXPECT_TRUE(run.saver.Running());
    EXPECT_EQ(MessageBoxOf(run.saver.Id()), nullptr) << "a message box";
    EndRun(run.saver, run.kanvas, run.renderer, RendererEnd::EscapeKey);
    EXPECT_EQ(ReadBytes(folder.Ini()), settings);
}

TEST(SaverMusicTest, VanishedMusicFileGivesASilentRunAndLeavesTheIniAsItWas) {
    SaverFolder folder(L"Vanished music");
    const std::string settings = MusicSettingsIni(2, 0, folder.File(L"消えた曲.wav"));
    ASSERT_TRUE(WriteBytes(folder.Ini(), settings));

    AudioSinkEar ear;
    const SaverRun run = StartRun(folder);
    ASSERT_NE(run.kanvas, nullptr);
    const Listening listening = ListenFor(ear, run.saver, 1000);
    Print("missing WAV", listening);
    EXPECT_EQ(listening.Bytes(), 0) << "the sound device was opened";
    EXPECT_TRUE(run.saver.Running());
    EndRun(run.saver, run.kanvas, run.renderer, RendererEnd::CloseRequest);
    EXPECT_EQ(ReadBytes(folder.Ini()), settings) << "the ini file was rewritten";
}

}  // namespace
