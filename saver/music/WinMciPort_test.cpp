// The music module against the platform's real winmm, every command recorded.
#include "WinMciPort.h"

#include <gtest/gtest.h>

#include "MciTesting.h"

namespace mosaika {
namespace {

TEST(WinMciPortTest, WithoutACdDriveOnePollEndsTheCdSessionAndAnUnopenedMp3IsNotPlayed) {
    WinMciPort real;
    RecordingMci port(&real);
    Mosaika_BGM music(port);
    music.settings.BgmMode = kBgmCdAudio;
    EXPECT_EQ(music.StartSession(), SessionTimer::Timer2);
    music.PollCdAudio();
    EXPECT_FALSE(music.CdPollingActive());
    music.StopSession();  // sends nothing more to the device
    EXPECT_EQ(port.sent, (std::vector<std::string>{"open cdaudio|-1", "set cdaudio time format tmsf|-1",
                                                   "status cdaudio current track|512", "error text|256"}));

    port.sent.clear();
    music.settings = {kBgmSoundFile, 0, "Z:\\no such folder\\no such file.mp3"};
    EXPECT_EQ(music.StartSession(), SessionTimer::Timer1);
    EXPECT_EQ(port.sent, std::vector<std::string>{
                             "open \"Z:\\no such folder\\no such file.mp3\" type MPEGVideo Alias MP3Play|0"});
    EXPECT_FALSE(music.IsMp3Playing());
}

}  // namespace
}  // namespace mosaika
