// The renderer program's flow from start to end: fixed frame size, lattice,
// palette, window, colour table, then frames as fast as they can be made.
#pragma once

#include "Clock.h"
#include "Lattice.h"
#include "Palette.h"
#include "RendererWindow.h"

namespace mosaika {

constexpr int kFrameWidth = 320;
constexpr int kFrameHeight = 200;
constexpr const char* kRendererWindowName = "Mosaika_Kanvas";

// The program-wide state: one of each for the whole run, never freed.
struct RendererProgram {
    Scene scene;
    PaletteTable palette{};
    FrameBuffer frameBuffer{};
};

// Runs start-up and the frame loop. Returns when the window could not be
// created or when PresentFrame asks to stop; the exit code is always 0.
int RunRenderer(RendererProgram& program, RendererWindow& window, Clock& clock);

}  // namespace mosaika
