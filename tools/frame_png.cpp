// Writes one frame of the pattern, in its palette, as a PNG file:
//   mosaika_frame_png OUT.png [SEED [MILLISECONDS [SCALE]]]
// The frame loop runs for real against the headless window, with the clock
// fixed, so the picture is the one the renderer would show at that moment.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FrameLoop.h"
#include "HeadlessWindow.h"
#include "Png.h"

namespace {

std::vector<std::uint8_t> Enlarge(const std::vector<std::uint8_t>& rgb, int width, int height, int scale) {
    std::vector<std::uint8_t> out;
    out.reserve(rgb.size() * static_cast<std::size_t>(scale * scale));
    for (int row = 0; row < height * scale; ++row) {
        for (int col = 0; col < width * scale; ++col) {
            const auto at = static_cast<std::size_t>(((row / scale) * width + col / scale) * 3);
            out.insert(out.end(), {rgb[at], rgb[at + 1], rgb[at + 2]});
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [SEED [MILLISECONDS [SCALE]]]\n", argv[0]);
        return 2;
    }
    mosaika::FixedClock clock;
    clock.counter = argc > 2 ? std::strtoll(argv[2], nullptr, 0) : 1;
    clock.milliseconds = argc > 3 ? static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 0)) : 0;
    const int scale = argc > 4 ? std::atoi(argv[4]) : 1;
    if (scale < 1 || scale > 8) {
        std::fprintf(stderr, "scale must be 1 to 8\n");
        return 2;
    }

    static mosaika::RendererProgram program;
    mosaika::HeadlessWindow window(1);
    mosaika::RunRenderer(program, window, clock);
    const auto rgb = mosaika::PixelsToRgb(window.Frames().front(), mosaika::ColourTableOf(window.Header()));
    const auto big = Enlarge(rgb, mosaika::kFrameWidth, mosaika::kFrameHeight, scale);
    if (!mosaika::WritePng(argv[1], big, mosaika::kFrameWidth * scale, mosaika::kFrameHeight * scale)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
