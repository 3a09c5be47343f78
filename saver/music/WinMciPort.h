// The music module's four winmm calls on Windows, through the table of
// SystemLibraries.h.
#pragma once

#include "Mosaika_BGM.h"

namespace mosaika {

class WinMciPort final : public MciPort {
public:
    std::uint32_t SendMciString(const std::string& command, std::span<char> reply) override;
    bool GetMciErrorString(std::uint32_t code, std::span<char> text) override;
    std::uint32_t WaveOutDeviceCount() override;
    bool PlaySoundName(const char* name, std::uint32_t flags) override;
};

}  // namespace mosaika
