#include "FrameLoop.h"

namespace mosaika {

int RunRenderer(RendererProgram& program, RendererWindow& window, Clock& clock) {
    program.scene.NextShiftTime = 0.0;
    BuildLattice(program.scene, clock);
    program.palette = BuildPaletteTable();
    // The window must exist soon after start: the screen saver polls for it.
    if (!window.CreateRendererWindow(kRendererWindowName, kFrameWidth, kFrameHeight)) return 0;
    window.LoadColourTable(program.palette);
    for (;;) {
        RenderFrame(program.scene, clock, program.frameBuffer.data(), kFrameWidth, kFrameHeight);
        if (!window.PresentFrame(program.frameBuffer.data())) return 0;
    }
}

}  // namespace mosaika
