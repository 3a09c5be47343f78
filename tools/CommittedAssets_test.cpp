// The committed asset files: the preview must be a baseline JPEG the
// platform's picture loader takes, and the icon what the tools draw today.
// (The JPEG's bytes are compared with a fresh encoding by assets_up_to_date.)
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AssetPictures.h"
#include "Ico.h"

namespace mosaika {
namespace {

std::vector<std::uint8_t> ReadResource(const std::string& name) {
    std::ifstream in(std::string(MOSAIKA_RESOURCES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t BigEndian16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} << 8 | b[at + 1];
}

struct JpegSegment {
    std::uint8_t marker;
    std::vector<std::uint8_t> data;  // without the length field
};

// The marker segments from SOI up to and including the first SOS.
std::vector<JpegSegment> JpegHeaderSegments(const std::vector<std::uint8_t>& file) {
    std::vector<JpegSegment> segments;
    if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) return segments;
    std::size_t at = 2;
    while (at + 4 <= file.size() && file[at] == 0xFF) {
        const std::uint8_t marker = file[at + 1];
        const std::size_t length = BigEndian16(file, at + 2);
        if (length < 2 || at + 2 + length > file.size()) break;
        segments.push_back({marker, {file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                                     file.begin() + static_cast<std::ptrdiff_t>(at + 2 + length)}});
        if (marker == 0xDA) break;
        at += 2 + length;
    }
    return segments;
}

bool IsStartOfFrame(std::uint8_t marker) {
    // C0..CF, except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

TEST(CommittedPreview, IsABaselineEightBitYCbCrJpegOfThePreviewSize) {
    const auto file = ReadResource("preview.jpg");
    ASSERT_FALSE(file.empty()) << "saver/resources/preview.jpg is missing";
    EXPECT_EQ(file[file.size() - 2], 0xFF);
    EXPECT_EQ(file[file.size() - 1], 0xD9) << "no end-of-image marker";

    const auto segments = JpegHeaderSegments(file);
    ASSERT_FALSE(segments.empty());
    EXPECT_EQ(segments.back().marker, 0xDA) << "the header does not reach the scan";

    bool jfif = false;
    int frames = 0;
    for (const JpegSegment& segment : segments) {
        if (segment.marker == 0xE0 && segment.data.size() >= 5) {
            jfif = std::string(segment.data.begin(), segment.data.begin() + 5) == std::string("JFIF\0", 5);
        }
        if (segment.marker == 0xDB) {
            EXPECT_EQ(segment.data[0] >> 4, 0) << "baseline allows 8-bit quantisation tables only";
        }
        if (!IsStartOfFrame(segment.marker)) continue;
        ++frames;
        EXPECT_EQ(segment.marker, 0xC0) << "not baseline: SOF" << (segment.marker - 0xC0);
        ASSERT_EQ(segment.data.size(), 6u + 3u * 3u);
        EXPECT_EQ(segment.data[0], 8) << "sample precision";
        EXPECT_EQ(BigEndian16(segment.data, 1), std::uint32_t{kPreviewHeight});
        EXPECT_EQ(BigEndian16(segment.data, 3), std::uint32_t{kPreviewWidth});
        EXPECT_EQ(segment.data[5], 3) << "components";
        for (std::size_t c = 0; c < 3; ++c) {
            EXPECT_EQ(segment.data[6 + 3 * c], c + 1) << "component ids 1, 2, 3 are Y, Cb, Cr";
            EXPECT_EQ(segment.data[7 + 3 * c], 0x11) << "component " << c << " is subsampled";
        }
    }
    EXPECT_TRUE(jfif) << "a JFIF file's three components are YCbCr";
    EXPECT_EQ(frames, 1);
    // A quality far from the chosen one (or subsampled colour) lands outside this range.
    EXPECT_GT(file.size(), 18000u);
    EXPECT_LT(file.size(), 20500u);
}

TEST(CommittedIcon, IsWhatTheToolDrawsNow) {
    EXPECT_EQ(ReadResource("mosaika.ico"), EncodeIco(IconPicture(kIconSeed, kIconMilliseconds), kIconSize, kIconSize))
        << "run tools/regenerate-assets.sh";
}

}  // namespace
}  // namespace mosaika
