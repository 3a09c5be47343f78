// The recording MCI port of the music tests. It records each command as
// "command|length" (-1 for the null buffer), each error-text lookup as
// "error text|length" and each sound played as "sound name|flags" (name
// "null" for the stop), all in one sequence. Commands go on to a real port
// when one is given; otherwise a table answers them (others succeed with an
// empty reply), writing replies only as far as the length given, as winmm does.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Mosaika_BGM.h"

namespace mosaika {

struct MciAnswer {
    // A constructor rather than an aggregate: GCC 12 at -O3 warns falsely
    // about uninitialised strings in nested aggregates of the tests' tables.
    MciAnswer(std::uint32_t c = 0, std::string r = {}) : code(c), reply(std::move(r)) {}
    std::uint32_t code;
    std::string reply;
};

struct RecordingMci final : MciPort {
    explicit RecordingMci(MciPort* realPort = nullptr) : real(realPort) {}

    MciPort* real;
    std::map<std::string, MciAnswer> answers;
    std::map<std::uint32_t, std::string> errorTexts;  // a missing code makes the lookup fail
    std::uint32_t waveDevices = 1;
    std::vector<std::string> sent;

    std::uint32_t SendMciString(const std::string& command, std::span<char> reply) override {
        sent.push_back(command + '|' + std::to_string(reply.data() ? static_cast<int>(reply.size()) : -1));
        if (real) return real->SendMciString(command, reply);
        const MciAnswer answer = answers[command];
        Write(answer.code == 0 ? answer.reply : "", reply);
        return answer.code;
    }
    bool GetMciErrorString(std::uint32_t code, std::span<char> text) override {
        sent.push_back("error text|" + std::to_string(text.size()));
        if (real) return real->GetMciErrorString(code, text);
        Write(errorTexts.contains(code) ? errorTexts[code] : "", text);
        return errorTexts.contains(code);
    }
    std::uint32_t WaveOutDeviceCount() override { return real ? real->WaveOutDeviceCount() : waveDevices; }
    bool PlaySoundName(const char* name, std::uint32_t flags) override {
        sent.push_back("sound " + std::string(name ? name : "null") + '|' + std::to_string(flags));
        return real ? real->PlaySoundName(name, flags) : true;
    }
    static void Write(const std::string& text, std::span<char> buffer) {
        if (buffer.empty()) return;
        const std::size_t length = std::min(text.size(), buffer.size() - 1);
        std::copy_n(text.data(), length, buffer.data());
        buffer[length] = '\0';
    }
};

}  // namespace mosaika
