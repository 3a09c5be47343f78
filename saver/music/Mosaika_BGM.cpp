#include "Mosaika_BGM.h"

#include <optional>

#include "AsciiCase.h"
#include "Numbers.h"

namespace mosaika {

namespace {

// Text up to the first NUL, never past the buffer's end.
std::string TextBeforeNul(std::span<const char> buffer) {
    std::size_t length = 0;
    while (length < buffer.size() && buffer[length] != '\0') {
        ++length;
    }
    return std::string(buffer.data(), length);
}

// Mode replies are compared on their first 7 characters only.
bool ModeIs(std::span<const char> buffer, std::string_view mode) {
    return std::string_view(buffer.data(), 7) == mode;
}

// Every failure of QueryMci reads "Error:<code>"; a device reply holding
// "err" in any letter case counts as a failure too.
bool ContainsErr(std::string_view reply) {
    return AsciiUpper(reply).find("ERR") != std::string::npos;
}

constexpr std::string_view kCdAudio = "cdaudio";

// Reply texts of SendMciCommand, as code page 932 bytes.
// "コマンド文字列が指定されていません"
constexpr std::string_view kNoCommandText =
    "\x83\x52\x83\x7D\x83\x93\x83\x68\x95\xB6\x8E\x9A\x97\xF1\x82\xAA\x8E\x77"
    "\x92\xE8\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1";
// "Error (文字列が取れません)"
constexpr std::string_view kNoErrorText =
    "Error (\x95\xB6\x8E\x9A\x97\xF1\x82\xAA\x8E\xE6\x82\xEA\x82\xDC\x82\xB9\x82\xF1)";

}  // namespace

std::int32_t Mosaika_BGM::SendMciCommand(const std::string& command, std::string& reply) {
    if (command.empty()) {
        reply = kNoCommandText;
        return -1;
    }
    const std::uint32_t code = port_.SendMciString(command, replyBuffer_);
    if (code == 0) {
        reply = TextBeforeNul(replyBuffer_);
        return 0;
    }
    if (port_.GetMciErrorString(code, errorTextBuffer_)) {
        reply = TextBeforeNul(errorTextBuffer_);
    } else {
        reply = kNoErrorText;
    }
    return static_cast<std::int32_t>(code);
}

std::string Mosaika_BGM::QueryMci(const std::string& command) {
    std::string reply;
    const std::int32_t code = SendMciCommand(command, reply);
    return code == 0 ? reply : "Error:" + std::to_string(code);
}

std::int32_t Mosaika_BGM::PlayDevice(std::string_view device, std::string_view from, std::string_view to) {
    std::string command = "play ";
    command += device;
    if (!from.empty()) {
        command += " from ";
        command += from;
    }
    if (!to.empty()) {
        command += " to ";
        command += to;
    }
    std::string reply;
    return SendMciCommand(command, reply);
}

bool Mosaika_BGM::IsMp3Playing() {
    port_.SendMciString("status MP3Play mode", mp3ModeBuffer_);
    return ModeIs(mp3ModeBuffer_, "playing");
}

void Mosaika_BGM::OpenCdAudio() {
    port_.SendMciString("open cdaudio", {});
    port_.SendMciString("set cdaudio time format tmsf", {});
}

void Mosaika_BGM::PollCdAudio() {
    cdPollingActive_ = true;
    const std::string current = QueryMci("status cdaudio current track");
    if (ContainsErr(current)) {
        cdPollingActive_ = false;
        return;
    }
    // Only a test that a readable disc is present; the count is not used.
    if (ContainsErr(QueryMci("status cdaudio number of tracks"))) {
        cdPollingActive_ = false;
        return;
    }
    // The mode buffer is handed over one character short of its size.
    port_.SendMciString("status cdaudio mode", std::span<char>(cdModeBuffer_.data(), kCdModeBufferSize - 1));
    const bool stopped = ModeIs(cdModeBuffer_, "stopped");

    if (settings.BgmRepeat != 0) {
        // The current track is compared as a number even when the drive has
        // stopped; a reply that is not one ends the polling.
        const std::optional<double> currentTrack = ParseNumber(current);
        if (!currentTrack) {
            cdPollingActive_ = false;
            return;
        }
        if (stopped || *currentTrack != settings.BgmRepeat) {
            // No "to" part: the disc plays on past the track, and a later
            // poll brings it back. A failed position query is sent as it is
            // and the play fails with it.
            const std::string position =
                QueryMci("status cdaudio position track " + std::to_string(settings.BgmRepeat));
            PlayDevice(kCdAudio, position, {});
        }
    } else if (stopped) {
        PlayDevice(kCdAudio, {}, {});
    }
}

void Mosaika_BGM::CloseCdAudio() {
    port_.SendMciString("stop cdaudio", {});
    port_.SendMciString("close cdaudio", {});
}

std::uint32_t Mosaika_BGM::SendMp3Command(const std::string& command) {
    return port_.SendMciString(command, std::span<char>(dummyReply_.data(), 0));
}

void Mosaika_BGM::PlayMp3() {
    if (SendMp3Command("open \"" + settings.BgmFile + "\" type MPEGVideo Alias MP3Play") == 0) {
        SendMp3Command("play MP3Play");
    }
}

void Mosaika_BGM::KeepMp3Playing() {
    if (!IsMp3Playing()) {
        SendMp3Command("stop MP3Play");
        SendMp3Command("play MP3Play from 0");
    }
}

void Mosaika_BGM::StopMp3() {
    SendMp3Command("stop MP3Play");
    SendMp3Command("close MP3Play");
}

void Mosaika_BGM::PlayWaveLoop() {
    if (port_.WaveOutDeviceCount() > 0) {
        port_.PlaySoundName(settings.BgmFile.c_str(), kPlayWaveLoopFlags);
    }
}

void Mosaika_BGM::StopWave() {
    port_.PlaySoundName(nullptr, 0);
}

SessionTimer Mosaika_BGM::StartSession() {
    session_ = Source::None;
    if (settings.BgmMode == kBgmCdAudio) session_ = Source::CdAudio;
    if (settings.BgmMode == kBgmSoundFile) {
        const MusicFileType type = MusicFileTypeOf(settings.BgmFile);
        if (type == MusicFileType::Wav) session_ = Source::Wav;
        if (type == MusicFileType::Mp3) session_ = Source::Mp3;
    }
    if (session_ == Source::CdAudio) {
        OpenCdAudio();
        cdPollingActive_ = true;
        return SessionTimer::Timer2;
    }
    if (session_ == Source::Mp3) {
        PlayMp3();
        return SessionTimer::Timer1;
    }
    if (session_ == Source::Wav) PlayWaveLoop();
    return SessionTimer::None;
}

void Mosaika_BGM::StopSession() {
    if (session_ == Source::CdAudio && cdPollingActive_) {
        cdPollingActive_ = false;
        CloseCdAudio();
    }
    if (session_ == Source::Wav) StopWave();
    if (session_ == Source::Mp3) StopMp3();
    session_ = Source::None;
}

}  // namespace mosaika
