// Draws one of the settings dialog's pictures and writes it as a 24-bit
// bitmap file:
//   mosaika_picture_bmp skin LOOK OUT.bmp            LOOK: Normal, HighLight, HighLightSelect,
//                                                    Pressed, Selected, Disable
//   mosaika_picture_bmp indicator STATE OUT.bmp      STATE: Unselected, Selected
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "Bmp.h"
#include "ButtonPictures.h"

namespace {

int Usage(const char* program) {
    std::fprintf(stderr, "usage: %s skin LOOK OUT.bmp | %s indicator Unselected|Selected OUT.bmp\n", program,
                 program);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return Usage(argv[0]);
    const std::string_view kind = argv[1];
    const std::string_view name = argv[2];
    std::vector<std::uint8_t> bmp;
    if (kind == "skin") {
        const auto* look = std::find_if(mosaika::kAllSkins.begin(), mosaika::kAllSkins.end(),
                                        [name](mosaika::Skin skin) { return mosaika::SkinName(skin) == name; });
        if (look == mosaika::kAllSkins.end()) return Usage(argv[0]);
        bmp = mosaika::EncodeBmp24(mosaika::SkinPicture(*look), mosaika::kSkinPictureWidth,
                                   mosaika::kSkinPictureHeight);
    } else if (kind == "indicator" && (name == "Unselected" || name == "Selected")) {
        bmp = mosaika::EncodeBmp24(mosaika::IndicatorBoxPicture(name == "Selected"), mosaika::kIndicatorPictureSize,
                                   mosaika::kIndicatorPictureSize);
    } else {
        return Usage(argv[0]);
    }
    std::FILE* file = std::fopen(argv[3], "wb");
    bool written = file != nullptr && std::fwrite(bmp.data(), 1, bmp.size(), file) == bmp.size();
    if (file != nullptr) written = std::fclose(file) == 0 && written;
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
