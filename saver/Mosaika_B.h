// Mosaika_B: the program's start-up routine. StartUp reads the command line
// and hands over to the window of the mode: the preview (Mosaika_R), the
// settings dialog (Mosaika_P) or the saver run (Mosaika_S).
#pragma once

namespace mosaika {

// Runs once before any window exists; see Mosaika_B.cpp for the steps.
void StartUp();

}  // namespace mosaika
