// The preview inside the test's own process: its pixels in a host window.
#include "Mosaika_R.h"

#include <gtest/gtest.h>

#include <string>

#include "Picture.h"
#include "UniqueHandle.h"
#include "resource.h"

namespace mosaika {
namespace {

// The colour at (x, y) of a device context: the screen (window given) or the picture drawn alone.
COLORREF PixelAt(HWND window, const forms::Picture* picture, int x, int y) {
    const forms::WindowDc screen(nullptr);
    POINT point{x, y};
    if (window) ClientToScreen(window, &point);
    const forms::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    const forms::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 152, 112));
    const forms::SelectedObject selected(memory.get(), bitmap.get());
    if (picture) picture->Draw(memory.get(), 0, 0, 152, 112);
    return window ? GetPixel(screen.get(), point.x, point.y) : GetPixel(memory.get(), x, y);
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
        const forms::UniqueWindow owner(CreateWindowExW(0, L"PreviewHost", L"host", WS_POPUP | WS_VISIBLE, 40, 30,
                                                        width, height, nullptr, nullptr, nullptr, nullptr));
        HWND host = owner.get();
        SetUpPreview("/p " + std::to_string(reinterpret_cast<INT_PTR>(host)));
        // Shown, at the host's size, and painted: the picture's pattern at (80, 60) or (50, 40).
        const int px = std::min(80, width / 2), py = std::min(60, height / 2);
        const auto ready = [&] {
            HWND preview = FindWindowExW(host, nullptr, nullptr, L"Preview Window");
            RECT rect{};
            return preview && IsWindowVisible(preview) && GetClientRect(preview, &rect) && rect.right == width &&
                   rect.bottom == height && PixelAt(host, nullptr, px, py) == PixelAt(nullptr, &picture, px, py);
        };
        for (const DWORD start = GetTickCount(); !ready() && GetTickCount() - start < 5000; Sleep(10)) {
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
        }
        EXPECT_TRUE(ready()) << width << " x " << height;
        // Column 0 is black in the picture itself.
        for (const POINT at : {POINT{0, 0}, POINT{2, 5}, POINT{150, 111}, POINT{151, 0}, POINT{99, 79},
                               POINT{152, 0}, POINT{199, 149}, POINT{10, 112}, POINT{170, 60}}) {
            if (at.x >= width || at.y >= height) continue;
            const COLORREF expected = at.x < 152 && at.y < 112 ? PixelAt(nullptr, &picture, at.x, at.y) : RGB(0, 0, 0);
            EXPECT_EQ(PixelAt(host, nullptr, at.x, at.y), expected) << at.x << "," << at.y;
        }
    }
}

}  // namespace
}  // namespace mosaika
