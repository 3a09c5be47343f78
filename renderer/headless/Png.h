// A small PNG writer (stored deflate blocks, no compression library) for
// screenshots of the pattern on machines without a display, and for tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mosaika {

// Encodes width x height RGB pixels (3 bytes each, top row first) as a PNG file.
std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgb, int width, int height);

// Writes the encoded file; false when it cannot be written.
bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgb, int width, int height);

}  // namespace mosaika
