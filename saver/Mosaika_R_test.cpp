// The preview's pixels in a host window of the test's own process; across
// processes Wine shows no pixels, so tests/system proves from outside only
// that the preview becomes the host's child at its size and ends with it.
#include "Mosaika_R.h"

#include <gtest/gtest.h>

#include <string>

#include "Picture.h"
#include "win32/UniqueHandle.h"
#include "resource.h"

namespace mosaika {
namespace {

// Run first, while no other form lives: a form destroyed with its window open
// counts out as a closed one does, and the last one ends the message loop.
TEST(FormTest, DestroyedWithItsWindowOpenTheLastFormEndsTheMessageLoop) {
    ASSERT_EQ(forms::Form::LiveForms(), 0);
    {
        forms::Form form(L"form", WS_POPUP);
        form.Show();
        ASSERT_EQ(forms::Form::LiveForms(), 1);
    }
    EXPECT_EQ(forms::Form::LiveForms(), 0);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(PreviewTest, ShowsThePictureUnscaledAtTheHostsTopLeftCutByTheHostAndBlackBeyond) {
    // The picture drawn alone, to compare with.
    const forms::Picture picture = forms::Picture::FromResource(IDR_PREVIEW_JPEG);
    ASSERT_TRUE(picture);
    const win32::WindowDc screen(nullptr);
    const win32::UniqueMemoryDc alone(CreateCompatibleDC(screen.get()));
    const win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 152, 112));
    const win32::SelectedObject selected(alone.get(), bitmap.get());
    picture.Draw(alone.get(), 0, 0, 152, 112);
    ASSERT_NE(GetPixel(alone.get(), 50, 40), RGB(0, 0, 0)) << "(50, 40) lies in the pattern";

    // The host: an empty static control as a popup, its grey background never black.
    for (const auto& [width, height] : {std::pair{200, 150}, std::pair{100, 80}}) {
        const win32::UniqueWindow host(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 40, 30,
                                                       width, height, nullptr, nullptr, nullptr, nullptr));
        SetUpPreview("/p " + std::to_string(reinterpret_cast<INT_PTR>(host.get())));
        const auto shown = [&](int x, int y) {
            POINT point{x, y};
            ClientToScreen(host.get(), &point);
            return GetPixel(screen.get(), point.x, point.y);
        };
        const auto ready = [&] {  // shown, at its final size, and painted
            HWND preview = FindWindowExW(host.get(), nullptr, nullptr, L"Preview Window");
            RECT rect{};
            return preview && IsWindowVisible(preview) && GetClientRect(preview, &rect) && rect.right == width &&
                   rect.bottom == height && shown(50, 40) == GetPixel(alone.get(), 50, 40);
        };
        for (const DWORD start = GetTickCount(); !ready() && GetTickCount() - start < 5000; Sleep(10)) {
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
        }
        ASSERT_TRUE(ready()) << width << " x " << height;
        // Column 0 is black in the picture itself.
        for (const auto& [x, y] : {std::pair{0, 0}, {2, 5}, {151, 111}, {99, 79}, {152, 0}, {199, 149}, {10, 112}}) {
            if (x >= width || y >= height) continue;
            const COLORREF expected = x < 152 && y < 112 ? GetPixel(alone.get(), x, y) : RGB(0, 0, 0);
            EXPECT_EQ(shown(x, y), expected) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace mosaika
