// The settings store and the preview inside the test's own process, under
// Wine with code page 932: the ini file's exact bytes, what the loader makes
// of broken files, the file test, and the preview's pixels in a host window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Mosaika_B.h"
#include "Mosaika_R.h"
#include "Numbers.h"
#include "Picture.h"
#include "Text.h"
#include "Win32.h"
#include "resource.h"

namespace mosaika {
namespace {

using forms::FromAnsi;
using forms::ToAnsi;

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool IsWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::current_path() / L"settings store 図";
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        ini_ = folder_ / L"モザイカ図.ini";
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string IniAnsi() const { return ToAnsi(ini_.wstring()); }
    std::wstring Existing(const wchar_t* name) const {
        const auto path = folder_ / name;
        WriteAll(path, "RIFF");
        return path.wstring();
    }
    MusicSettings Load() {
        MusicSettings settings;
        WinSettingsPort port;
        mosaika::LoadSettings(settings, port, IniAnsi());
        return settings;
    }

    std::filesystem::path folder_;
    std::filesystem::path ini_;
};

TEST_F(SettingsStoreTest, SavedFileHoldsTheShiftJisSectionKeysAndLeadingBlankValues) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run under code page 932";
    const std::wstring music = Existing(L"曲 ソ表.wav");  // 0x5C trail bytes in the path
    WinSettingsPort port;
    SaveSettings({kBgmSoundFile, 3, ToAnsi(music)}, port, IniAnsi());

    // Windows keeps the value's leading blank; Wine's profile writer drops it.
    const std::string blank = IsWine() ? "" : " ";
    const std::string expected = std::string("[Section]\r\n") +
                                 "BGM\x8B\xE6\x95\xAA=" + blank + "2\r\n" +        // BGM区分
                                 "BGM\xD8\xCB\xDF\xB0\xC4=" + blank + "3\r\n" +    // BGMﾘﾋﾟｰﾄ
                                 "BGM\xCC\xA7\xB2\xD9=" + ToAnsi(music) + "\r\n";  // BGMﾌｧｲﾙ
    EXPECT_EQ(ReadAll(ini_), expected);

    const MusicSettings loaded = Load();
    EXPECT_EQ(loaded.BgmMode, kBgmSoundFile);
    EXPECT_EQ(loaded.BgmRepeat, 3);
    EXPECT_EQ(FromAnsi(loaded.BgmFile), music);
}

TEST_F(SettingsStoreTest, MissingFileGivesTheDefaults) {
    const MusicSettings loaded = Load();
    EXPECT_EQ(loaded.BgmMode, 0);
    EXPECT_EQ(loaded.BgmRepeat, 0);
    EXPECT_EQ(loaded.BgmFile, "");
    EXPECT_FALSE(std::filesystem::exists(ini_)) << "reading must not create the file";
}

TEST_F(SettingsStoreTest, BrokenValuesGiveTheLoadersResults) {
    struct Row {
        const char* text;
        std::int16_t mode;
    };
    const Row rows[] = {
        {" 2", 2}, {"2.9", 2}, {"-1.5", -2}, {"  1  ", 1}, {"abc", 0}, {"40000", 0}, {"-32769", 0}, {"", 0},
        {"1e1", 10}, {"\x8B\xE6", 0},
    };
    // A music file that exists, so a sound-file mode is not turned off for want of one.
    const std::string music = ToAnsi(Existing(L"曲.wav"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        WriteAll(ini_, std::string("[Section]\r\nBGM\x8B\xE6\x95\xAA=") + row.text + "\r\nBGM\xD8\xCB\xDF\xB0\xC4=" +
                           row.text + "\r\nBGM\xCC\xA7\xB2\xD9=" + music + "\r\n");
        const MusicSettings loaded = Load();
        EXPECT_EQ(loaded.BgmMode, row.mode);
        EXPECT_EQ(loaded.BgmRepeat, row.mode);
    }
}

TEST_F(SettingsStoreTest, VanishedMusicFileFallsBackWithoutRewritingTheFile) {
    const std::string missing = ToAnsi((folder_ / L"消えた.mp3").wstring());
    for (const std::int16_t mode : {kBgmSoundFile, kBgmCdAudio}) {
        const std::string bytes = "[Section]\r\nBGM\x8B\xE6\x95\xAA= " + std::to_string(mode) +
                                  "\r\nBGM\xCC\xA7\xB2\xD9=" + missing + "\r\n";
        WriteAll(ini_, bytes);
        const MusicSettings loaded = Load();
        EXPECT_EQ(loaded.BgmMode, mode == kBgmSoundFile ? kBgmNone : kBgmCdAudio);
        EXPECT_EQ(loaded.BgmFile, "");
        EXPECT_EQ(ReadAll(ini_), bytes);
    }
}

TEST_F(SettingsStoreTest, ValuesLongerThan255BytesAreCutNotOverflowed) {
    const std::string longValue(400, 'x');
    WriteAll(ini_, "[Section]\r\nBGM\xCC\xA7\xB2\xD9=" + longValue + "\r\n");
    const std::string read = ReadIniValue(std::string(kIniSection), std::string(kKeyBgmFile), ini_.wstring());
    EXPECT_EQ(read, std::string(255, 'x'));
}

TEST_F(SettingsStoreTest, FileExistsIsTrueForReadableFilesOnly) {
    const std::wstring file = Existing(L"在る.wav");
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(file + L"\\"));  // one trailing backslash is dropped
    EXPECT_FALSE(FileExists(folder_.wstring()));
    EXPECT_FALSE(FileExists(folder_.wstring() + L"\\"));
    EXPECT_FALSE(FileExists((folder_ / L"無い.wav").wstring()));
    EXPECT_FALSE(FileExists(L""));
}

// A visible top-level window of the given client size, standing in for the
// host's preview area.
class HostWindow {
public:
    HostWindow(int width, int height) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = L"PreviewHost";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, L"PreviewHost", L"host", WS_POPUP | WS_VISIBLE, 40, 30, width, height, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~HostWindow() {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    HWND get() const { return window_; }

private:
    HWND window_;
};

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(10);
    }
}

// The colour at (x, y) of a window's client area, as the screen shows it.
COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// The decoded preview picture's own pixel at (x, y).
COLORREF PicturePixel(const forms::Picture& picture, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.Size().cx, picture.Size().cy);
    HGDIOBJ old = SelectObject(memory, bitmap);
    picture.Draw(memory, 0, 0, picture.Size().cx, picture.Size().cy);
    const COLORREF colour = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST(PreviewTest, ShowsThePictureUnscaledAtTheHostsTopLeftAndBlackBeyond) {
    const forms::Picture picture = forms::Picture::FromResource(IDR_PREVIEW_JPEG);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture.Size().cx, 152);
    ASSERT_EQ(picture.Size().cy, 112);

    HostWindow host(200, 150);
    SetUpPreview("/p " + std::to_string(reinterpret_cast<INT_PTR>(host.get())));
    PumpFor(500);

    HWND preview = FindWindowExW(host.get(), nullptr, nullptr, L"Preview Window");
    ASSERT_NE(preview, nullptr);
    RECT rect;
    GetClientRect(preview, &rect);
    EXPECT_EQ(rect.right, 200);
    EXPECT_EQ(rect.bottom, 150);

    // Column 0 is black in the picture itself; (80, 60) lies in the pattern.
    for (const POINT at : {POINT{0, 0}, POINT{2, 5}, POINT{80, 60}, POINT{150, 111}, POINT{151, 0}}) {
        EXPECT_EQ(ScreenPixel(host.get(), at.x, at.y), PicturePixel(picture, at.x, at.y))
            << at.x << "," << at.y;
    }
    EXPECT_NE(PicturePixel(picture, 80, 60), RGB(0, 0, 0));
    for (const POINT at : {POINT{152, 0}, POINT{199, 149}, POINT{10, 112}, POINT{170, 60}}) {
        EXPECT_EQ(ScreenPixel(host.get(), at.x, at.y), RGB(0, 0, 0)) << at.x << "," << at.y;
    }
}

TEST(PreviewTest, SmallerHostCutsThePictureAtTheRightAndBottom) {
    const forms::Picture picture = forms::Picture::FromResource(IDR_PREVIEW_JPEG);
    HostWindow host(100, 80);
    SetUpPreview("/p:" + std::to_string(reinterpret_cast<INT_PTR>(host.get())));
    PumpFor(500);
    for (const POINT at : {POINT{50, 40}, POINT{99, 79}}) {
        EXPECT_EQ(ScreenPixel(host.get(), at.x, at.y), PicturePixel(picture, at.x, at.y))
            << at.x << "," << at.y;
    }
}

}  // namespace
}  // namespace mosaika
