#include "HeadlessWindow.h"

#include <cstddef>
#include <utility>

#include "Png.h"

namespace mosaika {

HeadlessWindow::HeadlessWindow(int frameLimit, std::string pngPrefix)
    : frameLimit_(frameLimit), pngPrefix_(std::move(pngPrefix)) {}

bool HeadlessWindow::CreateRendererWindow(const char* name, int width, int height) {
    calls_.emplace_back("create");
    if (failCreate) return false;
    name_ = name;
    width_ = width;
    height_ = height;
    header_ = MakeFrameHeader(width, height);
    return true;
}

bool HeadlessWindow::LoadColourTable(const PaletteTable& entries) {
    calls_.emplace_back("colours");
    SetColourTable(header_, entries);
    return true;
}

bool HeadlessWindow::PresentFrame(const std::uint8_t* frame) {
    calls_.emplace_back("present");
    const auto size = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    frames_.emplace_back(frame, frame + size);
    if (!pngPrefix_.empty()) {
        const std::string path = pngPrefix_ + std::to_string(frames_.size()) + ".png";
        WritePng(path, PixelsToRgb({frame, size}, ColourTableOf(header_)), width_, height_);
    }
    return static_cast<int>(frames_.size()) < frameLimit_;
}

void HeadlessWindow::DestroyRendererWindow() { calls_.emplace_back("destroy"); }

}  // namespace mosaika
