// Renders the icon of the screen saver program, one 32 x 32 image of the
// pattern in its palette, and writes it as an icon file:
//   mosaika_icon_ico OUT.ico [SEED [MILLISECONDS]]
// Without SEED and MILLISECONDS it draws the committed icon.
#include <cstdio>
#include <cstdlib>

#include "AssetPictures.h"
#include "Ico.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s OUT.ico [SEED [MILLISECONDS]]\n", argv[0]);
        return 2;
    }
    const std::int64_t seed = argc > 2 ? std::strtoll(argv[2], nullptr, 0) : mosaika::kIconSeed;
    const auto milliseconds =
        argc > 3 ? static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 0)) : mosaika::kIconMilliseconds;
    const auto ico = mosaika::EncodeIco(mosaika::IconPicture(seed, milliseconds), mosaika::kIconSize,
                                        mosaika::kIconSize);
    if (!mosaika::WriteAsset(argv[1], ico)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
