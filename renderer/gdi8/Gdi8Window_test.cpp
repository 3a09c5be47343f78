// The window layer inside the test's own process, under Wine: what another
// process cannot see (the class, the system menu, the colours of a painted
// frame read back from the window's own DC, the pointer's show count).
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "FrameLoop.h"
#include "Gdi8Window.h"

namespace {

using mosaika::gdi8::Gdi8Window;

class Gdi8WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window_.CreateRendererWindow(mosaika::kRendererWindowName, 320, 200));
        hwnd_ = FindWindowA(mosaika::kRendererWindowName, mosaika::kRendererWindowName);
        ASSERT_NE(hwnd_, nullptr);
    }

    // The colour painted at (x, y) of the window, as 0x00RRGGBB.
    std::uint32_t PixelAt(int x, int y) {
        HDC dc = GetDC(hwnd_);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(hwnd_, dc);
        return (std::uint32_t{GetRValue(colour)} << 16) | (std::uint32_t{GetGValue(colour)} << 8) | GetBValue(colour);
    }

    Gdi8Window window_;
    HWND hwnd_ = nullptr;
};

TEST_F(Gdi8WindowTest, RegistersTheClassWithItsOwnDcAndRedrawStyles) {
    EXPECT_EQ(GetClassLongPtrA(hwnd_, GCL_STYLE), static_cast<ULONG_PTR>(CS_VREDRAW | CS_HREDRAW | CS_OWNDC));
    EXPECT_EQ(GetClassLongPtrA(hwnd_, GCLP_HBRBACKGROUND), 0u);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)) & ~DWORD{WS_VISIBLE},
              DWORD{WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN});
    EXPECT_EQ(GetWindowLongA(hwnd_, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
}

TEST_F(Gdi8WindowTest, AppendsTheThreeZoomCommandsToTheSystemMenuInOrder) {
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (!menu && GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
        // Wine gives a window without WS_SYSMENU no system menu at all, so the
        // commands cannot be appended there; they still work as WM_SYSCOMMAND.
        GTEST_SKIP() << "Wine: a popup without WS_SYSMENU has no system menu";
    }
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 3);
    const std::array<std::pair<UINT, const char*>, 3> expected{{
        {0x401, "Zoom 1 x 1"}, {0x402, "Zoom 2 x 2"}, {0x404, "Zoom 4 x 4"}}};
    for (int i = 0; i < 3; ++i) {
        const int position = count - 3 + i;
        char text[32] = {};
        GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(menu, position), expected[static_cast<std::size_t>(i)].first);
        EXPECT_STREQ(text, expected[static_cast<std::size_t>(i)].second);
    }
}

TEST_F(Gdi8WindowTest, HidesThePointer) {
    // One ShowCursor(FALSE) was made: showing once more brings the count back to 0.
    EXPECT_EQ(ShowCursor(TRUE), 0);
}

TEST_F(Gdi8WindowTest, PaintsAGreyRampUntilThePaletteIsLoadedThenThePalettesExactColours) {
    // Frame: every pixel of column c holds index c mod 256.
    std::vector<std::uint8_t> frame(320 * 200);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>((i % 320) % 256);

    RECT client;
    GetClientRect(hwnd_, &client);
    const int width = client.right;
    // The centre of the screen column that shows frame column c.
    const auto screenX = [width](int c) { return (2 * c + 1) * width / 640; };

    window_.PresentFrame(frame.data());
    for (const int c : {0, 30, 128, 255}) {
        const auto grey = static_cast<std::uint32_t>(c);
        EXPECT_EQ(PixelAt(screenX(c), 100), grey << 16 | grey << 8 | grey) << "column " << c;
    }

    const mosaika::PaletteTable palette = mosaika::BuildPaletteTable();
    window_.LoadColourTable(palette);
    window_.PresentFrame(frame.data());
    for (const int c : {0, 29, 30, 64, 255}) {
        const auto& entry = palette[static_cast<std::size_t>(c)];
        EXPECT_EQ(PixelAt(screenX(c), 100),
                  std::uint32_t{entry.red} << 16 | std::uint32_t{entry.green} << 8 | entry.blue)
            << "column " << c;
    }
}

}  // namespace
