// The pictures the screen saver program carries, drawn by the renderer's own
// core: the still shown in the host's preview area and the program's icon.
// Each is one frame of the pattern, from a lattice seeded with a fixed value
// at a fixed animation time, seen through the renderer's palette, so the same
// seed and time always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mosaika {

constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;
constexpr int kIconSize = 32;

// The seeds and times of the committed pictures.
constexpr std::int64_t kPreviewSeed = 0x4D6F7361;  // "Mosa"
constexpr std::uint32_t kPreviewMilliseconds = 1200;
constexpr std::int64_t kIconSeed = 0x4D6F7361;
constexpr std::uint32_t kIconMilliseconds = 1200;

// The icon is drawn at this many frame pixels per icon pixel, so it shows a
// few whole cells rather than a fraction of one.
constexpr int kIconReduction = 4;

// The renderer's first frame (lattice built, animation advanced once, slice
// shaded) at width x height with the clock fixed at seed and milliseconds:
// one shade (palette index) per pixel, top row first.
std::vector<std::uint8_t> RenderShades(std::int64_t seed, std::uint32_t milliseconds, int width, int height);

// Each factor x factor block of shades becomes its mean, halves rounded up.
std::vector<std::uint8_t> ReduceShades(const std::vector<std::uint8_t>& shades, int width, int height, int factor);

// The preview still: 152 x 112 RGB, the two leftmost columns and the rightmost one black.
std::vector<std::uint8_t> PreviewPicture(std::int64_t seed, std::uint32_t milliseconds);

// The icon: 32 x 32 pixels, blue, green, red, alpha (opaque), top row first.
std::vector<std::uint8_t> IconPicture(std::int64_t seed, std::uint32_t milliseconds);

// A binary PPM (P6, maximum value 255) of width x height RGB pixels.
std::vector<std::uint8_t> EncodePpm(const std::vector<std::uint8_t>& rgb, int width, int height);

// Writes the bytes to path, or to standard output when path is "-"; false on failure.
bool WriteAsset(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace mosaika
