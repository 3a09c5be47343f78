// The music module: plays the chosen background music for as long as a saver
// run lasts. The audio CD and MP3 files go through MCI command strings, WAV
// files through the system sound player as an endless asynchronous loop.
// The command strings below are the module's whole protocol with the devices.
//
// All text is Shift-JIS bytes (code page 932), as the ini file holds the
// music file's path; the port hands it to winmm in UTF-16. The module reaches
// winmm only through MciPort; every operation runs to completion on the
// caller's thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "Settings.h"

namespace mosaika {

// The four winmm calls the module makes, with the arguments it passes.
class MciPort {
public:
    virtual ~MciPort() = default;
    // mciSendString(command, reply.data(), reply.size(), no callback window),
    // the reply as the A function leaves it: Shift-JIS, ended by a zero byte.
    // A reply span without data stands for the null buffer.
    virtual std::uint32_t SendMciString(const std::string& command, std::span<char> reply) = 0;
    // mciGetErrorString(code, text.data(), text.size()); true on success.
    virtual bool GetMciErrorString(std::uint32_t code, std::span<char> text) = 0;
    // waveOutGetNumDevs().
    virtual std::uint32_t WaveOutDeviceCount() = 0;
    // PlaySound(name, no module, flags); a null name stops the sound.
    virtual bool PlaySoundName(const char* name, std::uint32_t flags) = 0;
};

// SND_ASYNC | SND_LOOP, with no flag that says what kind of name is given.
constexpr std::uint32_t kPlayWaveLoopFlags = 0x0001 | 0x0008;

// The saver window's timer that a playing session needs beside it.
enum class SessionTimer {
    None,
    Timer1,  // 1000 ms, KeepMp3Playing each tick
    Timer2,  // 200 ms, PollCdAudio each tick while CdPollingActive
};

// Buffer sizes in characters.
constexpr std::size_t kReplyBufferSize = 512;
constexpr std::size_t kErrorTextBufferSize = 256;
constexpr std::size_t kCdModeBufferSize = 256;
constexpr std::size_t kMp3ModeBufferSize = 30;

class Mosaika_BGM {
public:
    explicit Mosaika_BGM(MciPort& port) : port_(port) {}

    Mosaika_BGM(const Mosaika_BGM&) = delete;
    Mosaika_BGM& operator=(const Mosaika_BGM&) = delete;

    // Filled by LoadSettings, changed by the settings dialog, read here.
    MusicSettings settings;

    // The music of one saver run. StartSession decides the source once, from
    // BgmMode and the file type of BgmFile: the audio CD is opened (its first
    // poll starts playback), a WAV file loops, an MP3 file is opened and
    // played; any other mode or file type plays nothing. It answers the timer
    // the saver window enables.
    SessionTimer StartSession();
    // Stops what StartSession started. The CD is stopped and closed only
    // while its polling is active: once a poll has ended it, nothing more goes
    // to the device. WAV and MP3 are stopped whether or not they played.
    void StopSession();

    // Timer2's tick: keeps the CD playing, or returns to the start of
    // BgmRepeat when the drive has moved on. Sets CdPollingActive false when
    // the drive stops answering or its current track is not a number.
    void PollCdAudio();
    // Timer1's tick: restarts the MP3 from its beginning when it is no
    // longer playing.
    void KeepMp3Playing();

    // True from the start of a CD session until a PollCdAudio finds the drive
    // silent or its current track not a number, and after StopSession false
    // again; the CD timer runs while it is true.
    bool CdPollingActive() const { return cdPollingActive_; }

private:
    enum class Source { None, CdAudio, Wav, Mp3 };

    // Sends one command with the 512-character reply buffer. Returns 0 and
    // the reply, or the MCI error code and its text (a fixed text when the
    // system has none); an empty command returns -1 without reaching MCI.
    std::int32_t SendMciCommand(const std::string& command, std::string& reply);
    // The reply on success, otherwise "Error:" and the decimal code.
    std::string QueryMci(const std::string& command);
    // "play <device>", with " from <from>" and " to <to>" when given.
    std::int32_t PlayDevice(std::string_view device, std::string_view from, std::string_view to);
    // The first 7 characters of the "status MP3Play mode" reply are "playing".
    bool IsMp3Playing();

    // Opens the default CD drive with the time format tmsf.
    void OpenCdAudio();
    void CloseCdAudio();
    // Opens BgmFile under the alias MP3Play and plays it.
    void PlayMp3();
    void StopMp3();
    // Loops BgmFile when the system has a wave output device.
    void PlayWaveLoop();
    void StopWave();

    // Sends an MP3 command with a dummy one-character reply of length 0.
    std::uint32_t SendMp3Command(const std::string& command);

    MciPort& port_;
    Source session_ = Source::None;
    bool cdPollingActive_ = false;
    // Kept for the module's whole life, as the devices' replies land in them.
    std::array<char, kReplyBufferSize> replyBuffer_{};
    std::array<char, kErrorTextBufferSize> errorTextBuffer_{};
    std::array<char, kCdModeBufferSize> cdModeBuffer_{};
    std::array<char, kMp3ModeBufferSize> mp3ModeBuffer_{};
    std::array<char, 1> dummyReply_{};
};

}  // namespace mosaika
