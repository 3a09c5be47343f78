// The behaviour of the button Command without its window: the hover and
// focus state, the enabled flag, the held left button and the gradient
// direction, and every reaction to focus, mouse, timer and size events.
//
// Each event returns what the window has to do: draw the face with a skin
// (in the returned gradient direction), enable or grey the caption, raise
// Click. The window layer turns its messages into these calls:
//   WM_MOUSEMOVE over the control or its caption   MouseMove
//   WM_xBUTTONDOWN / WM_xBUTTONUP                  MouseDown / MouseUp
//   WM_SETFOCUS / WM_KILLFOCUS                     GotFocus / LostFocus
//   a 100 ms timer tick                            TimerTick(pointer not over the control's window)
//   WM_SIZE                                        Resize
// and applies each reaction as soon as it gets it.
#pragma once

#include <cstdint>

#include "ButtonReaction.h"
#include "MouseButton.h"

namespace mosaika {

// State values: 0 not yet initialised, 1 normal, 2 hover, 3 focused,
// 4 focused with the pointer over.
enum class ButtonState : std::uint8_t { Uninitialised = 0, Normal = 1, Hover = 2, Focused = 3, FocusedHover = 4 };

class ButtonStateMachine {
public:
    // A new control: state 0, disabled, timer off, nothing held.
    ButtonStateMachine() = default;

    ButtonState State() const { return state_; }
    bool Enabled() const { return enabled_; }

    // State 1 and the leave timer on, even while disabled. Draws nothing.
    ButtonReaction Initialize();

    // The reactions below change nothing while the control is disabled.
    ButtonReaction MouseMove();
    ButtonReaction MouseDown(forms::MouseButton button);
    // A release of any button over the control (or, while it holds the
    // capture, anywhere): raises Click unless the state is 3.
    ButtonReaction MouseUp(forms::MouseButton button);
    ButtonReaction GotFocus();
    ButtonReaction LostFocus();
    // The leave timer: pointerOutside is true when the window under the
    // pointer is not the control's own. Ignored until Initialize has run.
    ButtonReaction TimerTick(bool pointerOutside);

    // Normal when enabled, else Disable, with the caption enabled or greyed;
    // the state is kept. Runs while disabled too; Resize is this.
    ButtonReaction ApplyEnabled();
    ButtonReaction Resize() { return ApplyEnabled(); }
    // The Enabled property: sets the flag, then ApplyEnabled.
    ButtonReaction SetEnabled(bool enabled);
    // Sets the flag alone, as reading the stored properties does.
    void SetEnabledFlag(bool enabled) { enabled_ = enabled; }

    // Every drawing of the face goes through here: it sets the gradient
    // direction from the state (1 resting, 2 reversed, 3 resting; 0 and 4
    // keep the previous drawing's) and returns the drawing.
    ButtonReaction DrawFace(Skin skin);

private:
    ButtonState state_ = ButtonState::Uninitialised;
    bool enabled_ = false;
    bool buttonHeld_ = false;
    bool gradientReversed_ = false;
    bool timerEnabled_ = false;
};

}  // namespace mosaika
