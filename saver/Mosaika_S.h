// Mosaika_S: the hidden window "Mosaika_Main" that carries one saver run. Its
// load starts the music module's session, runs the timer the session asks
// for and starts the renderer program; Timer3 watches for the renderer's
// window and, when it has gone, unloads the form, which stops the session,
// gives the cursor back and ends the program.
#pragma once

#include "Form.h"
#include "Mosaika_BGM.h"
#include "win32/UniqueHandle.h"

namespace mosaika {

class Mosaika_S final : public forms::Form {
public:
    Mosaika_S(Mosaika_BGM& music, bool cursorHidden);

    forms::Timer Timer1;  // 1000 ms: restarts a finished MP3
    forms::Timer Timer2;  // 200 ms: keeps the audio CD playing
    forms::Timer Timer3;  // 50 ms: looks for the renderer's window

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override;

private:
    void StartRenderer();
    void PollRenderer();
    bool StillWaitingForRenderer() const;

    Mosaika_BGM& music_;
    bool cursorHidden_;
    win32::UniqueKernelHandle renderer_;  // the renderer process, never signalled
    DWORD rendererStartTick_ = 0;
    bool rendererWindowSeen_ = false;
};

}  // namespace mosaika
