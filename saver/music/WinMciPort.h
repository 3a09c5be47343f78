// The music module's four winmm calls on Windows, through the table of
// SystemLibraries.h. The module keeps its command strings and the music
// file's path as Shift-JIS bytes, as the ini file holds them; here they turn
// into UTF-16 with code page 932 and go to the W functions, so a stored path
// plays on a system of any code page. Replies come back as Shift-JIS bytes.
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
