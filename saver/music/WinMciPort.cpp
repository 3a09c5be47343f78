#include "WinMciPort.h"

#include "SystemLibraries.h"

namespace mosaika {

std::uint32_t WinMciPort::SendMciString(const std::string& command, std::span<char> reply) {
    return mciSendStringA(command.c_str(), reply.data(), static_cast<UINT>(reply.size()), nullptr);
}

bool WinMciPort::GetMciErrorString(std::uint32_t code, std::span<char> text) {
    return mciGetErrorStringA(code, text.data(), static_cast<UINT>(text.size())) != FALSE;
}

std::uint32_t WinMciPort::WaveOutDeviceCount() { return waveOutGetNumDevs(); }

bool WinMciPort::PlaySoundName(const char* name, std::uint32_t flags) {
    return PlaySoundA(name, nullptr, flags) != FALSE;
}

}  // namespace mosaika
