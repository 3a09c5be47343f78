// The settings store and the preview inside the test's own process, under
// Wine with code page 932: the ini file's exact bytes, what the loader makes
// of broken files, the file test, and the preview's pixels in a host window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "Mosaika_B.h"
#include "Mosaika_R.h"
#include "Picture.h"
#include "Text.h"
#include "Win32.h"
#include "resource.h"

namespace mosaika {
namespace {

using forms::ToAnsi;

const std::string kMode = "BGM\x8B\xE6\x95\xAA=", kRepeat = "BGM\xD8\xCB\xDF\xB0\xC4=", kFile = "BGM\xCC\xA7\xB2\xD9=";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Ini() const { return ReadAll(ini_); }
    static std::string ReadAll(const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    static void Write(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    MusicSettings Load() {
        MusicSettings settings;
        WinSettingsPort port;
        LoadSettings(settings, port, ToAnsi(ini_.wstring()));
        return settings;
    }

    const std::filesystem::path folder_ = std::filesystem::current_path() / L"settings store 図";
    const std::filesystem::path ini_ = folder_ / L"モザイカ図.ini";
};

TEST_F(SettingsStoreTest, SavedFileHoldsShiftJisKeysAndLoadsBack) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run under code page 932";
    EXPECT_EQ(Load().BgmMode, 0);
    EXPECT_FALSE(std::filesystem::exists(ini_)) << "reading must not create the file";

    const std::filesystem::path music = folder_ / L"曲 ソ表.wav";  // 0x5C trail bytes in the path
    Write(music, "RIFF");
    WinSettingsPort port;
    SaveSettings({kBgmSoundFile, 3, ToAnsi(music.wstring())}, port, ToAnsi(ini_.wstring()));
    // Windows keeps the value's leading blank; Wine's profile writer drops it.
    const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    const std::string blank = wine ? "" : " ";
    EXPECT_EQ(Ini(), "[Section]\r\n" + kMode + blank + "2\r\n" + kRepeat + blank + "3\r\n" + kFile +
                         ToAnsi(music.wstring()) + "\r\n");
    const MusicSettings loaded = Load();
    EXPECT_EQ((std::tuple{loaded.BgmMode, loaded.BgmRepeat, loaded.BgmFile}),
              (std::tuple{kBgmSoundFile, std::int16_t{3}, ToAnsi(music.wstring())}));

    // Broken values as the platform hands them over, with a music file that exists.
    const std::pair<const char*, std::int16_t> rows[] = {{"  1  ", 1}, {"2.9", 2}, {"-1.5", -2}, {"abc", 0},
                                                         {"40000", 0}, {"", 0},    {"1e1", 10},  {"\x8B\xE6", 0}};
    for (const auto& [text, value] : rows) {
        Write(ini_, "[Section]\r\n" + kMode + text + "\r\n" + kRepeat + text + "\r\n" + kFile +
                        ToAnsi(music.wstring()) + "\r\n");
        EXPECT_EQ((std::pair{Load().BgmMode, Load().BgmRepeat}), (std::pair{value, value})) << text;
    }
}

TEST_F(SettingsStoreTest, VanishedMusicFileFallsBackWithoutRewritingAndLongValuesAreCut) {
    for (const std::int16_t mode : {kBgmSoundFile, kBgmCdAudio}) {
        const std::string bytes = "[Section]\r\n" + kMode + std::to_string(mode) + "\r\n" + kFile +
                                  ToAnsi((folder_ / L"消えた.mp3").wstring()) + "\r\n";
        Write(ini_, bytes);
        const MusicSettings loaded = Load();
        EXPECT_EQ(loaded.BgmMode, mode == kBgmSoundFile ? kBgmNone : kBgmCdAudio);
        EXPECT_EQ(loaded.BgmFile, "");
        EXPECT_EQ(Ini(), bytes);
    }
    Write(ini_, "[Section]\r\n" + kFile + std::string(400, 'x') + "\r\n");
    EXPECT_EQ(ReadIniValue(std::string(kIniSection), std::string(kKeyBgmFile), ini_.wstring()), std::string(255, 'x'));
}

TEST_F(SettingsStoreTest, FileExistsIsTrueForReadableFilesOnly) {
    const std::wstring file = (folder_ / L"在る.wav").wstring();
    Write(file, "RIFF");
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(file + L"\\"));  // one trailing backslash is dropped
    const std::wstring folder = folder_.wstring();
    for (const std::wstring& missing : {folder, folder + L"\\", (folder_ / L"無い.wav").wstring(), std::wstring()}) {
        EXPECT_FALSE(FileExists(missing)) << ToAnsi(missing);
    }
}

// Pumps messages until the condition holds or the deadline passes.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(10)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (done()) return true;
    }
    return done();
}

// The colour at (x, y) of a device context: the screen (window given) or the picture drawn alone.
COLORREF PixelAt(HWND window, const forms::Picture* picture, int x, int y) {
    HDC screen = GetDC(nullptr);
    POINT point{x, y};
    if (window) ClientToScreen(window, &point);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 152, 112);
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (picture) picture->Draw(memory, 0, 0, 152, 112);
    const COLORREF colour = window ? GetPixel(screen, point.x, point.y) : GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST(PreviewTest, ShowsThePictureUnscaledAtTheHostsTopLeftCutByTheHostAndBlackBeyond) {
    const forms::Picture picture = forms::Picture::FromResource(IDR_PREVIEW_JPEG);
    ASSERT_TRUE(picture);
    ASSERT_EQ((std::pair{picture.Size().cx, picture.Size().cy}), (std::pair{152L, 112L}));
    ASSERT_NE(PixelAt(nullptr, &picture, 80, 60), RGB(0, 0, 0)) << "(80, 60) lies in the pattern";

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"PreviewHost";
    RegisterClassW(&windowClass);
    for (const auto& [width, height] : {std::pair{200, 150}, std::pair{100, 80}}) {
        HWND host = CreateWindowExW(0, L"PreviewHost", L"host", WS_POPUP | WS_VISIBLE, 40, 30, width, height,
                                    nullptr, nullptr, nullptr, nullptr);
        SetUpPreview("/p " + std::to_string(reinterpret_cast<INT_PTR>(host)));
        HWND preview = nullptr;
        RECT rect{};
        // Shown, at the host's size, and painted: the picture's pattern at (80, 60) or (50, 40).
        const int px = std::min(80, width / 2), py = std::min(60, height / 2);
        EXPECT_TRUE(PumpUntil([&] {
            preview = FindWindowExW(host, nullptr, nullptr, L"Preview Window");
            return preview && IsWindowVisible(preview) && GetClientRect(preview, &rect) && rect.right == width &&
                   rect.bottom == height && PixelAt(host, nullptr, px, py) == PixelAt(nullptr, &picture, px, py);
        }, 5000)) << width << " x " << height;
        // Column 0 is black in the picture itself.
        for (const POINT at : {POINT{0, 0}, POINT{2, 5}, POINT{150, 111}, POINT{151, 0}, POINT{99, 79},
                               POINT{152, 0}, POINT{199, 149}, POINT{10, 112}, POINT{170, 60}}) {
            if (at.x >= width || at.y >= height) continue;
            const COLORREF expected = at.x < 152 && at.y < 112 ? PixelAt(nullptr, &picture, at.x, at.y) : RGB(0, 0, 0);
            EXPECT_EQ(PixelAt(host, nullptr, at.x, at.y), expected) << at.x << "," << at.y;
        }
        DestroyWindow(host);
    }
}

}  // namespace
}  // namespace mosaika
