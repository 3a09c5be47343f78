#include "WinMciPort.h"

#include <algorithm>
#include <vector>

#include "Paths.h"
#include "SystemLibraries.h"
#include "win32/Text.h"

namespace mosaika {

namespace {

// Copies the reply into the caller's buffer as the A function would leave
// it: Shift-JIS, cut to fit with its terminating zero, never inside a
// two-byte character. Replies are only read, never stored, so a character
// that Shift-JIS lacks (an error text in another language) shows as "?"
// rather than failing the reply.
void CopyReply(const std::wstring& wide, std::span<char> reply) {
    if (reply.empty()) return;
    std::size_t used = 0;
    for (const wchar_t c : wide) {
        const std::string bytes = win32::ToCp932(std::wstring(1, c)).value_or("?");
        if (used + bytes.size() >= reply.size()) break;
        std::copy(bytes.begin(), bytes.end(), reply.begin() + static_cast<std::ptrdiff_t>(used));
        used += bytes.size();
    }
    reply[used] = '\0';
}

// The reply buffer in UTF-16, as many characters as the caller's holds.
std::wstring Reply(const std::vector<wchar_t>& buffer) {
    return std::wstring(buffer.begin(), std::find(buffer.begin(), buffer.end(), L'\0'));
}

}  // namespace

std::uint32_t WinMciPort::SendMciString(const std::string& command, std::span<char> reply) {
    const std::wstring wide = win32::FromCp932(command);
    if (!reply.data()) return mciSendStringW(wide.c_str(), nullptr, 0, nullptr);
    std::vector<wchar_t> buffer(reply.size() + 1, L'\0');
    const std::uint32_t code =
        mciSendStringW(wide.c_str(), buffer.data(), static_cast<UINT>(reply.size()), nullptr);
    CopyReply(Reply(buffer), reply);
    return code;
}

bool WinMciPort::GetMciErrorString(std::uint32_t code, std::span<char> text) {
    std::vector<wchar_t> buffer(text.size() + 1, L'\0');
    if (!mciGetErrorStringW(code, buffer.data(), static_cast<UINT>(text.size()))) return false;
    CopyReply(Reply(buffer), text);
    return true;
}

std::uint32_t WinMciPort::WaveOutDeviceCount() { return waveOutGetNumDevs(); }

bool WinMciPort::PlaySoundName(const char* name, std::uint32_t flags) {
    if (!name) return PlaySoundW(nullptr, nullptr, flags) != FALSE;
    // The file by its short (8.3) path where it has one: Wine's PlaySoundW
    // opens the file through the system's code page, which may not spell
    // the full path (Japanese letters on a Western system).
    const std::wstring path = win32::FromCp932(name);
    const std::wstring shortPath = forms::ShortPathOf(path);
    return PlaySoundW((shortPath.empty() ? path : shortPath).c_str(), nullptr, flags) != FALSE;
}

}  // namespace mosaika
