// The window layer inside the test's own process, under Wine: what another
// process cannot see (the pointer's show count, the exact colours of a painted
// frame read back from the window's own DC).
#include <gtest/gtest.h>

#include <vector>

#include "FrameLoop.h"
#include "Gdi8Window.h"

namespace {

TEST(Gdi8WindowTest, HidesThePointerAndPaintsEachFrameIndexInItsPaletteColour) {
    mosaika::gdi8::Gdi8Window window;
    ASSERT_TRUE(window.CreateRendererWindow(mosaika::kRendererWindowName, 320, 200));
    HWND hwnd = FindWindowA(mosaika::kRendererWindowName, mosaika::kRendererWindowName);
    ASSERT_NE(hwnd, nullptr);
    // One ShowCursor(FALSE) was made: showing once more brings the count back to 0.
    EXPECT_EQ(ShowCursor(TRUE), 0);

    // Frame: every pixel of column c holds index c mod 256.
    std::vector<std::uint8_t> frame(320 * 200);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i % 320);
    const mosaika::PaletteTable palette = mosaika::BuildPaletteTable();
    window.LoadColourTable(palette);
    window.PresentFrame(frame.data());

    RECT client;
    GetClientRect(hwnd, &client);
    HDC dc = GetDC(hwnd);
    for (const int c : {0, 29, 30, 64, 255}) {
        const COLORREF colour = GetPixel(dc, (2 * c + 1) * client.right / 640, 100);  // the centre of column c
        const auto& entry = palette[static_cast<std::size_t>(c)];
        EXPECT_EQ(colour, RGB(entry.red, entry.green, entry.blue)) << "column " << c;
    }
    ReleaseDC(hwnd, dc);
}

}  // namespace
