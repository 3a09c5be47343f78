// The preview's pixels in a host window of the test's own process; across
// processes Wine shows no pixels, so tests/system proves from outside only
// that the preview becomes the host's child at its size and ends with it.
#include "Mosaika_R.h"

#include <gtest/gtest.h>

#include <string>

#include "Picture.h"
#include "UniqueHandle.h"
#include "resource.h"

namespace mosaika {
namespace {

// The colour at (x, y) of the host's client area on the screen, or of the picture drawn alone.
COLORREF PixelAt(HWND host, const forms::Picture* picture, int x, int y) {
    const forms::WindowDc screen(nullptr);
    const forms::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    const forms::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 152, 112));
    const forms::SelectedObject selected(memory.get(), bitmap.get());
    if (picture) picture->Draw(memory.get(), 0, 0, 152, 112);
    POINT point{x, y};
    if (host) ClientToScreen(host, &point);
    return host ? GetPixel(screen.get(), point.x, point.y) : GetPixel(memory.get(), x, y);
}

TEST(PreviewTest, ShowsThePictureUnscaledAtTheHostsTopLeftCutByTheHostAndBlackBeyond) {
    const forms::Picture picture = forms::Picture::FromResource(IDR_PREVIEW_JPEG);
    ASSERT_TRUE(picture);
    ASSERT_EQ((std::pair{picture.Size().cx, picture.Size().cy}), (std::pair{152L, 112L}));
    ASSERT_NE(PixelAt(nullptr, &picture, 50, 40), RGB(0, 0, 0)) << "(50, 40) lies in the pattern";

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"PreviewHost";
    RegisterClassW(&windowClass);
    for (const auto& [width, height] : {std::pair{200, 150}, std::pair{100, 80}}) {
        const forms::UniqueWindow host(CreateWindowExW(0, L"PreviewHost", L"host", WS_POPUP | WS_VISIBLE, 40, 30,
                                                       width, height, nullptr, nullptr, nullptr, nullptr));
        SetUpPreview("/p " + std::to_string(reinterpret_cast<INT_PTR>(host.get())));
        // Shown, at its final size, and painted.
        const auto ready = [&] {
            HWND preview = FindWindowExW(host.get(), nullptr, nullptr, L"Preview Window");
            RECT rect{};
            return preview && IsWindowVisible(preview) && GetClientRect(preview, &rect) && rect.right == width &&
                   rect.bottom == height && PixelAt(host.get(), nullptr, 50, 40) == PixelAt(nullptr, &picture, 50, 40);
        };
        for (const DWORD start = GetTickCount(); !ready() && GetTickCount() - start < 5000; Sleep(10)) {
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
        }
        ASSERT_TRUE(ready()) << width << " x " << height;
        // Column 0 is black in the picture itself.
        for (const POINT at : {POINT{0, 0}, POINT{2, 5}, POINT{151, 111}, POINT{99, 79}, POINT{152, 0}, POINT{199, 149},
                               POINT{10, 112}}) {
            if (at.x >= width || at.y >= height) continue;
            const COLORREF expected = at.x < 152 && at.y < 112 ? PixelAt(nullptr, &picture, at.x, at.y) : RGB(0, 0, 0);
            EXPECT_EQ(PixelAt(host.get(), nullptr, at.x, at.y), expected) << at.x << "," << at.y;
        }
    }
}

}  // namespace
}  // namespace mosaika
