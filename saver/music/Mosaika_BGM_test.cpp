// The music module's MCI command sequences, exactly, against a recording port.
#include "Mosaika_BGM.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace mosaika {
namespace {

using Sent = std::vector<std::string>;

struct MciAnswer {
    // A constructor rather than an aggregate: GCC 12 at -O3 warns falsely
    // about uninitialised strings in nested aggregates of the tables below.
    MciAnswer(std::uint32_t c = 0, std::string r = {}) : code(c), reply(std::move(r)) {}
    std::uint32_t code;
    std::string reply;
};

// Records each command as "command|length" (-1 for the null buffer), each
// error-text lookup as "error text|length" (the lookup fails) and each sound
// as "sound name|flags" ("null" for the stop), in one sequence. A table
// answers the commands (others succeed with an empty reply), writing replies
// only as far as the length given, as winmm does.
struct RecordingMci final : MciPort {
    std::map<std::string, MciAnswer> answers;
    std::uint32_t waveDevices = 1;
    Sent sent;

    std::uint32_t SendMciString(const std::string& command, std::span<char> reply) override {
        sent.push_back(command + '|' + std::to_string(reply.data() ? static_cast<int>(reply.size()) : -1));
        const MciAnswer answer = answers[command];
        if (!reply.empty()) {
            const std::size_t length = answer.code ? 0 : std::min(answer.reply.size(), reply.size() - 1);
            std::copy_n(answer.reply.data(), length, reply.data());
            reply[length] = '\0';
        }
        return answer.code;
    }
    bool GetMciErrorString(std::uint32_t, std::span<char> text) override {
        sent.push_back("error text|" + std::to_string(text.size()));
        return false;
    }
    std::uint32_t WaveOutDeviceCount() override { return waveDevices; }
    bool PlaySoundName(const char* name, std::uint32_t flags) override {
        sent.push_back("sound " + std::string(name ? name : "null") + '|' + std::to_string(flags));
        return true;
    }
};

TEST(Mosaika_BGM, CdPollKeepsPlayingOrReturnsToTheRepeatedTrack) {
    const std::string current = "status cdaudio current track|512", tracks = "status cdaudio number of tracks|512",
                      mode = "status cdaudio mode|255", track3 = "status cdaudio position track 3|512",
                      from3 = "play cdaudio from 03:00:00:00|512";
    const MciAnswer fails{266}, track3Start{0, "03:00:00:00"};
    const struct {
        const char* name;
        std::int16_t repeat;
        MciAnswer current, tracks;
        std::string mode;
        MciAnswer position;
        Sent sent;
        bool active;
    } rows[] = {
        {"stopped: play", 0, {0, "1"}, {0, "12"}, "stopped", {}, {current, tracks, mode, "play cdaudio|512"}, true},
        {"playing: nothing", 0, {0, "1"}, {0, "12"}, "playing", {}, {current, tracks, mode}, true},
        {"past the track: back", 3, {0, "4"}, {0, "12"}, "playing", track3Start,
         {current, tracks, mode, track3, from3}, true},
        {"on the track: nothing", 3, {0, "3"}, {0, "12"}, "playing", {}, {current, tracks, mode}, true},
        {"stopped on the track: play it", 3, {0, "3"}, {0, "12"}, "stopped", track3Start,
         {current, tracks, mode, track3, from3}, true},
        {"no such track", 3, {0, "4"}, {0, "12"}, "playing", fails,
         {current, tracks, mode, track3, "error text|256", "play cdaudio from Error:266|512"}, true},
        {"negative track", -2, {0, "4"}, {0, "12"}, "playing", {},
         {current, tracks, mode, "status cdaudio position track -2|512", "play cdaudio|512"}, true},
        {"no drive", 3, fails, {0, "12"}, "stopped", {}, {current, "error text|256"}, false},
        {"no disc", 0, {0, "1"}, fails, "stopped", {}, {current, tracks, "error text|256"}, false},
        {"current holds \"err\"", 0, {0, "1 eRr"}, {0, "12"}, "stopped", {}, {current}, false},
        {"current not a number", 3, {0, "abc"}, {0, "12"}, "stopped", {}, {current, tracks, mode}, false},
        {"current not compared without repeat", 0, {0, "abc"}, {0, "12"}, "stoppedX", {},
         {current, tracks, mode, "play cdaudio|512"}, true},
    };
    for (const auto& row : rows) {
        RecordingMci mci;
        mci.answers = {{"status cdaudio current track", row.current}, {"status cdaudio number of tracks", row.tracks},
                       {"status cdaudio mode", {0, row.mode}}, {"status cdaudio position track 3", row.position}};
        Mosaika_BGM bgm(mci);
        bgm.settings = {kBgmCdAudio, row.repeat, ""};
        bgm.PollCdAudio();
        EXPECT_EQ(mci.sent, row.sent) << row.name;
        EXPECT_EQ(bgm.CdPollingActive(), row.active) << row.name;
    }
}

TEST(Mosaika_BGM, SessionPlaysItsSourceNamesItsTimerAndStopsWhatItStarted) {
    const std::string mp3 = "C:\\My Music\\a b.mp3", open = "open \"" + mp3 + "\" type MPEGVideo Alias MP3Play",
                      cdOpen = "open cdaudio|-1", cdFormat = "set cdaudio time format tmsf|-1",
                      current = "status cdaudio current track|512";
    const Sent cdClose = {"stop cdaudio|-1", "close cdaudio|-1"}, mp3Close = {"stop MP3Play|0", "close MP3Play|0"};
    const struct {
        const char* name;
        std::int16_t mode;
        std::string file;
        std::uint32_t failure, waveDevices;  // failure: the code of the MP3's open and the CD's first query
        bool polled;                         // a Timer2 tick before the stop
        SessionTimer timer;
        Sent start, stop;
    } rows[] = {
        {"none", kBgmNone, mp3, 0, 1, false, SessionTimer::None, {}, {}},
        {"unknown source", 7, mp3, 0, 1, false, SessionTimer::None, {}, {}},
        {"CD", kBgmCdAudio, mp3, 0, 1, false, SessionTimer::Timer2, {cdOpen, cdFormat}, cdClose},
        {"CD polled", kBgmCdAudio, "", 0, 1, true, SessionTimer::Timer2,
         {cdOpen, cdFormat, current, "status cdaudio number of tracks|512", "status cdaudio mode|255"}, cdClose},
        {"CD without a drive", kBgmCdAudio, "", 266, 1, true, SessionTimer::Timer2,
         {cdOpen, cdFormat, current, "error text|256"}, {}},
        {"WAV", kBgmSoundFile, "C:\\a.Wav", 0, 1, false, SessionTimer::None, {"sound C:\\a.Wav|9"}, {"sound null|0"}},
        {"WAV without a device", kBgmSoundFile, "C:\\a.wav", 0, 0, false, SessionTimer::None, {}, {"sound null|0"}},
        {"MP3", kBgmSoundFile, mp3, 0, 1, false, SessionTimer::Timer1, {open + "|0", "play MP3Play|0"}, mp3Close},
        {"MP3 not opened", kBgmSoundFile, mp3, 275, 1, false, SessionTimer::Timer1, {open + "|0"}, mp3Close},
        {"other file type", kBgmSoundFile, "C:\\a.wave", 0, 1, false, SessionTimer::None, {}, {}},
    };
    for (const auto& row : rows) {
        RecordingMci mci;
        mci.answers[open] = mci.answers["status cdaudio current track"] = {row.failure};
        mci.waveDevices = row.waveDevices;
        Mosaika_BGM bgm(mci);
        bgm.settings = {row.mode, 0, row.file};
        EXPECT_EQ(bgm.StartSession(), row.timer) << row.name;
        if (row.polled) bgm.PollCdAudio();
        const Sent started = std::exchange(mci.sent, {});
        bgm.StopSession();
        EXPECT_EQ((std::pair{started, mci.sent}), (std::pair{row.start, row.stop})) << row.name;
    }
}

TEST(Mosaika_BGM, Mp3IsRestartedFromItsBeginningWhenNotPlaying) {
    const std::string status = "status MP3Play mode|30";
    const Sent restart = {status, "stop MP3Play|0", "play MP3Play from 0|0"};
    const std::pair<MciAnswer, Sent> rows[] = {
        {{0, "playing"}, {status}}, {{0, "playingX"}, {status}}, {{0, "stopped"}, restart},
        {{0, "paused"}, restart},   {{0, "play"}, restart},      {{263}, restart},
    };
    for (const auto& [mode, sent] : rows) {
        RecordingMci mci;
        mci.answers["status MP3Play mode"] = mode;
        Mosaika_BGM bgm(mci);
        bgm.KeepMp3Playing();
        EXPECT_EQ(mci.sent, sent) << mode.reply;
    }
}

}  // namespace
}  // namespace mosaika
