// The four operations through which the frame loop reaches its window. The
// Windows program implements them with GDI (renderer/gdi8); tests and tools use
// the headless implementation (renderer/headless).
#pragma once

#include <cstdint>

#include "Palette.h"

namespace mosaika {

class RendererWindow {
public:
    virtual ~RendererWindow() = default;
    virtual bool CreateRendererWindow(const char* name, int width, int height) = 0;
    virtual bool LoadColourTable(const PaletteTable& entries) = 0;
    // Shows the frame and handles waiting window messages. The Windows window
    // ends the process on close and always answers true; a headless window
    // answers false once it wants no more frames.
    virtual bool PresentFrame(const std::uint8_t* frame) = 0;
    virtual void DestroyRendererWindow() = 0;
};

}  // namespace mosaika
