// The music module against the real winmm of the platform, through a port
// that records every command: with no CD drive the poll gives up at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Mosaika_BGM.h"
#include "WinMciPort.h"

namespace mosaika {
namespace {

class RecordingPort final : public MciPort {
public:
    std::uint32_t SendMciString(const std::string& command, std::span<char> reply) override {
        commands.push_back(command);
        return real_.SendMciString(command, reply);
    }
    bool GetMciErrorString(std::uint32_t code, std::span<char> text) override {
        return real_.GetMciErrorString(code, text);
    }
    std::uint32_t WaveOutDeviceCount() override { return real_.WaveOutDeviceCount(); }
    bool PlaySoundName(const char* name, std::uint32_t flags) override { return real_.PlaySoundName(name, flags); }

    std::vector<std::string> commands;

private:
    WinMciPort real_;
};

TEST(WinMciPortTest, WithoutACdDriveTheFirstPollStopsPollingAfterOneQuery) {
    RecordingPort port;
    Mosaika_BGM music(port);
    music.OpenCdAudio();
    music.PollCdAudio();
    EXPECT_FALSE(music.CdPollingActive());
    EXPECT_EQ(port.commands, (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                                       "status cdaudio current track"}));
    EXPECT_EQ(music.QueryMci("status cdaudio current track").rfind("Error:", 0), 0u);
}

TEST(WinMciPortTest, AnMp3ThatCannotBeOpenedIsNotPlayed) {
    RecordingPort port;
    Mosaika_BGM music(port);
    music.settings.BgmFile = "Z:\\no such folder\\no such file.mp3";
    music.PlayMp3();
    EXPECT_EQ(port.commands,
              (std::vector<std::string>{"open \"Z:\\no such folder\\no such file.mp3\" type MPEGVideo Alias MP3Play"}));
    EXPECT_FALSE(music.IsMp3Playing());
}

}  // namespace
}  // namespace mosaika
