#include "SaverSystemTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace systest {

void EndRun(const Process& saver, HWND rendererWindow, const Process& renderer, RendererEnd how) {
    // An end is for good: both running now, they ran all along.
    ASSERT_TRUE(saver.Running() && renderer.Running()) << "the run or its renderer ended by itself";
    if (how == RendererEnd::EscapeKey) {
        // The key goes to the keyboard focus, which the renderer's window takes soon after it is up.
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        EXPECT_TRUE(WaitUntil([&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(rendererWindow, nullptr), &info) && info.hwndFocus == rendererWindow;
        })) << "the renderer's window never took the keyboard";
        PressKey(VK_ESCAPE);
    } else {
        PostMessageW(rendererWindow, WM_CLOSE, 0, 0);
    }
    ASSERT_EQ(renderer.ExitCode(kExitTimeoutMs), 0u) << "the renderer (259: it did not end)";
    const DWORD rendererEnd = GetTickCount();
    ASSERT_EQ(saver.ExitCode(kExitTimeoutMs), 0u) << "the saver (259: it outlived its renderer)";
    std::printf("  the saver ended %lu ms after the renderer\n", GetTickCount() - rendererEnd);
    EXPECT_EQ(FindWindowW(nullptr, kSaverWindowTitle), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, kRendererWindowTitle), nullptr);
}

namespace {

// Windows' "Use Unicode UTF-8 for worldwide language support" for one program:
// its embedded manifest (which Wine reads, unlike the registry's code page)
// asks for code page 65001 in its windowsSettings.
testing::AssertionResult AskForUtf8(const std::wstring& program) {
    std::string manifest;
    if (const win32::UniqueModule image(
            LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        const HRSRC found = image ? FindResourceW(image.get(), MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr) {
        manifest.assign(static_cast<const char*>(LockResource(LoadResource(image.get(), found))),
                        SizeofResource(image.get(), found));
    }
    const std::size_t end = manifest.find("</windowsSettings>");
    if (end == std::string::npos) return testing::AssertionFailure() << "no windowsSettings in its manifest";
    manifest.insert(end, R"(<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>)");
    const HANDLE update = BeginUpdateResourceW(program.c_str(), FALSE);
    const bool written = update && UpdateResourceW(update, RT_MANIFEST, MAKEINTRESOURCEW(1), LANG_NEUTRAL,
                                                   manifest.data(), static_cast<DWORD>(manifest.size()));
    if (update && EndUpdateResourceW(update, !written) && written) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "its manifest could not be rewritten, error " << GetLastError();
}

}  // namespace

SaverFolder::SaverFolder(const std::wstring& name, bool withRenderer)
    : root_(std::filesystem::current_path().wstring() + L"\\test folders\\" + name),
      path_(root_ + L"\\Programs\\モザイカ図") {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    std::filesystem::create_directories(path_);
    Install(ProgramFolder() + L"\\" + kSaverFileName);
    if (withRenderer) CopyFileW((ProgramFolder() + L"\\" + kRendererFileName).c_str(), Renderer().c_str(), FALSE);
}

SaverFolder::~SaverFolder() {
    // A program that has just ended may still hold its file for a moment.
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::error_code error;
        std::filesystem::remove_all(root_, error);
        if (!error) return;
        Sleep(100);
    }
}

void SaverFolder::UseProbeAsRenderer() const {
    CopyFileW(TestFile(L"RendererProbe.exe").c_str(), Renderer().c_str(), FALSE);
}

std::wstring SaverFolder::Install(const std::wstring& program) const {
    const std::wstring copy = File(std::filesystem::path(program).filename().wstring());
    EXPECT_TRUE(CopyFileW(program.c_str(), copy.c_str(), FALSE)) << Cp932(copy);
    if (Language() == L"utf8") { EXPECT_TRUE(AskForUtf8(copy)) << Cp932(copy); }
    return copy;
}

bool BelongsTo(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return window && owner == processId;
}

HWND FindWindowOfProcess(DWORD processId, const wchar_t* title, const wchar_t* className) {
    HWND window = nullptr;
    do window = FindWindowExW(nullptr, window, className, title);
    while (window && !BelongsTo(window, processId));
    return window;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

std::wstring AnswerMessageBox(DWORD processId) {
    HWND box = WaitForWindow([=] { return MessageBoxOf(processId); });
    if (!box) return L"no message box";
    const std::wstring text = MessageBoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return WaitUntil([=] { return !IsWindow(box); }) ? text : L"the message box stayed: " + text;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    const auto longPath = [](const std::wstring& path) {
        wchar_t buffer[MAX_PATH * 2];
        return GetLongPathNameW(path.c_str(), buffer, MAX_PATH * 2) ? std::wstring(buffer) : path;
    };
    return CompareStringOrdinal(longPath(a).c_str(), -1, longPath(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

HostWindow::HostWindow(int clientWidth, int clientHeight) {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass.lpszClassName = L"SaverTestHost";
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    window_.reset(CreateWindowExW(0, L"SaverTestHost", L"Saver test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
}

std::string MusicSettingsIni(int bgmMode, int bgmRepeat, const std::wstring& bgmFile, bool blank) {
    const auto number = [blank](int value) { return (blank && value >= 0 ? L" " : L"") + std::to_wstring(value); };
    return Cp932(L"[Section]\r\n"
                 L"BGM区分=" + number(bgmMode) + L"\r\n"
                 L"BGMﾘﾋﾟｰﾄ=" + number(bgmRepeat) + L"\r\n"
                 L"BGMﾌｧｲﾙ=" + bgmFile + L"\r\n");
}

std::string SineWave(DWORD milliseconds) {
    constexpr DWORD kRate = 22050;
    const DWORD samples = kRate * milliseconds / 1000;
    std::string wave;
    const auto put = [&wave](DWORD value, int bytes) {
        for (int i = 0; i < bytes; ++i) wave += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    // RIFF header, then the format: PCM, mono, 16 bits, 2 bytes a sample.
    wave += "RIFF";
    put(36 + samples * 2, 4);
    wave += "WAVEfmt ";
    for (const auto& [value, bytes] :
         {std::pair{16ul, 4}, {1ul, 2}, {1ul, 2}, {kRate, 4}, {kRate * 2, 4}, {2ul, 2}, {16ul, 2}}) {
        put(value, bytes);
    }
    wave += "data";
    put(samples * 2, 4);
    for (DWORD i = 0; i < samples; ++i) {
        put(static_cast<std::uint16_t>(std::lround(16000 * std::sin(2 * 3.14159265358979 * 440 * i / kRate))), 2);
    }
    return wave;
}

namespace {

// The wrapper names the sink by its Unix path.
long long AudioSinkSize() {
    std::error_code error;
    const auto size = std::filesystem::file_size(WinePathOf(L"MOSAIKA_AUDIO_SINK"), error);
    return error ? 0 : static_cast<long long>(size);
}

}  // namespace

AudioSinkEar::AudioSinkEar() : offset_(AudioSinkSize()) {}

Heard AudioSinkEar::Listen() {
    const long long size = AudioSinkSize();
    if (size < offset_) offset_ = 0;  // the device was opened again: the file starts afresh
    std::ifstream file(std::filesystem::path(WinePathOf(L"MOSAIKA_AUDIO_SINK")), std::ios::binary);
    std::string bytes(static_cast<std::size_t>(std::max(size - offset_, 0LL)), '\0');
    file.seekg(offset_).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Heard heard;
    heard.bytes = file ? static_cast<long long>(bytes.size()) : file.gcount();
    heard.soundBytes = std::count_if(bytes.begin(), bytes.begin() + heard.bytes, [](char c) { return c != 0; });
    offset_ += heard.bytes;
    return heard;
}

void ExpectSaverRunHears(const SaverFolder& folder, const Hearing& hearing) {
    const std::string settings = ReadBytes(folder.Ini());
    AudioSinkEar ear;
    const Process saver = folder.StartSaver(L"/s");
    HWND kanvas = WaitForRendererWindow();
    ASSERT_NE(kanvas, nullptr) << "the renderer must start whatever the music";
    const Process renderer = Process::OfWindow(kanvas);
    std::vector<DWORD> soundAt;  // the saver's age at each look that heard sound
    long long bytes = 0;
    std::string picture;  // '#' sound, '.' silence written, ' ' nothing written
    for (const DWORD start = GetTickCount(); GetTickCount() - start < hearing.listenMs;) {
        Sleep(100);
        const Heard heard = ear.Listen();
        if (heard.soundBytes >= 1024) soundAt.push_back(saver.Age());
        bytes += heard.bytes;
        picture += heard.soundBytes >= 1024 ? '#' : heard.bytes > 0 ? '.' : ' ';
    }
    std::printf("sink received %lld bytes; every 100 ms: [%s]\n", bytes, picture.c_str());
    const auto soundFrom = [&soundAt](DWORD ms) {
        const auto at = std::lower_bound(soundAt.begin(), soundAt.end(), ms);
        return at == soundAt.end() ? DWORD{0} : *at;
    };
    const DWORD first = soundFrom(0);
    EXPECT_EQ(first != 0, hearing.sound) << "sound heard or missed";
    if (hearing.againAfterMs) { EXPECT_NE(soundFrom(first + hearing.againAfterMs), 0u) << "the file did not play again"; }
    if (hearing.sinkUntouched) { EXPECT_EQ(bytes, 0) << "the sound device was opened"; }
    EXPECT_EQ(MessageBoxOf(saver.Id()), nullptr) << "a message box";
    EndRun(saver, kanvas, renderer, RendererEnd::EscapeKey);

    // After the run the device is closed: the sink falls quiet and stays so.
    EXPECT_TRUE(WaitUntil([&] { return ear.Listen().bytes == 0; }, 3000, 300)) << "the sink kept growing";
    EXPECT_TRUE(HoldsFor([&] { return ear.Listen().bytes == 0; }, 1000)) << "the sink still grows after the run";
    EXPECT_EQ(ReadBytes(folder.Ini()), settings) << "the ini file was rewritten";
}

}  // namespace systest
