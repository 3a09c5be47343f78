// The renderer's window without a display: frames are kept in memory (and
// optionally written as PNG files) so tests and tools can run the real frame
// loop anywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../RendererWindow.h"

namespace mosaika {

class HeadlessWindow final : public RendererWindow {
public:
    // Accepts frameLimit frames, then asks the loop to stop. When pngPrefix is
    // set, frame n is also written to pngPrefix + n + ".png".
    explicit HeadlessWindow(int frameLimit, std::string pngPrefix = {});

    bool CreateRendererWindow(const char* name, int width, int height) override;
    bool LoadColourTable(const PaletteTable& entries) override;
    bool PresentFrame(const std::uint8_t* frame) override;
    void DestroyRendererWindow() override;

    // The operations in the order they were called, e.g. "create", "colours", "present".
    const std::vector<std::string>& Calls() const { return calls_; }
    const std::vector<std::vector<std::uint8_t>>& Frames() const { return frames_; }
    const FrameHeader& Header() const { return header_; }
    std::string Name() const { return name_; }
    bool failCreate = false;

private:
    int frameLimit_;
    std::string pngPrefix_;
    std::string name_;
    int width_ = 0;
    int height_ = 0;
    FrameHeader header_{};
    std::vector<std::string> calls_;
    std::vector<std::vector<std::uint8_t>> frames_;
};

}  // namespace mosaika
