// Renders the preview still of the screen saver program and writes it as a
// binary PPM, ready for the JPEG encoder (tools/regenerate-assets.sh):
//   mosaika_preview_jpeg OUT.ppm|- [SEED [MILLISECONDS]]
// Without SEED and MILLISECONDS it draws the committed picture; with them it
// helps to look for another one.
#include <cstdio>
#include <cstdlib>

#include "AssetPictures.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s OUT.ppm|- [SEED [MILLISECONDS]]\n", argv[0]);
        return 2;
    }
    const std::int64_t seed = argc > 2 ? std::strtoll(argv[2], nullptr, 0) : mosaika::kPreviewSeed;
    const auto milliseconds =
        argc > 3 ? static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 0)) : mosaika::kPreviewMilliseconds;
    const auto ppm = mosaika::EncodePpm(mosaika::PreviewPicture(seed, milliseconds), mosaika::kPreviewWidth,
                                        mosaika::kPreviewHeight);
    if (!mosaika::WriteAsset(argv[1], ppm)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
