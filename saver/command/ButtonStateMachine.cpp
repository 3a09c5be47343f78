#include "ButtonStateMachine.h"

namespace mosaika {

ButtonReaction ButtonStateMachine::DrawFace(Skin skin) {
    switch (state_) {
        case ButtonState::Normal: gradientReversed_ = false; break;
        case ButtonState::Hover: gradientReversed_ = true; break;
        case ButtonState::Focused: gradientReversed_ = false; break;
        case ButtonState::Uninitialised:
        case ButtonState::FocusedHover: break;
    }
    ButtonReaction reaction;
    reaction.draw = skin;
    reaction.gradientReversed = gradientReversed_;
    return reaction;
}

ButtonReaction ButtonStateMachine::Initialize() {
    state_ = ButtonState::Normal;
    timerEnabled_ = true;
    return {};
}

ButtonReaction ButtonStateMachine::MouseMove() {
    if (!enabled_) return {};
    if (state_ == ButtonState::Normal) {
        state_ = ButtonState::Hover;
        return DrawFace(Skin::HighLight);
    }
    // While the left button is held, coming back over a focused button keeps
    // the pressed look; the first move after the release brings the hover.
    if (state_ == ButtonState::Focused && !buttonHeld_) {
        state_ = ButtonState::FocusedHover;
        return DrawFace(Skin::HighLightSelect);
    }
    return {};
}

ButtonReaction ButtonStateMachine::MouseDown(forms::MouseButton button) {
    if (!enabled_ || button != forms::MouseButton::Left) return {};
    buttonHeld_ = true;
    return DrawFace(Skin::Pressed);
}

ButtonReaction ButtonStateMachine::MouseUp(forms::MouseButton button) {
    if (!enabled_) return {};
    ButtonReaction reaction;
    if (button == forms::MouseButton::Left) {
        buttonHeld_ = false;
        if (state_ == ButtonState::Hover) {
            reaction = DrawFace(Skin::Normal);
        } else if (state_ == ButtonState::FocusedHover) {
            reaction = DrawFace(Skin::HighLightSelect);
        }
    }
    // State 3 means the pointer was dragged off the focused button and a
    // timer tick noticed it: the release is not a click.
    reaction.click = state_ != ButtonState::Focused;
    return reaction;
}

ButtonReaction ButtonStateMachine::GotFocus() {
    if (!enabled_) return {};
    if (state_ == ButtonState::Hover) {
        // Focus that arrives while the pointer is over: the press of a click.
        state_ = ButtonState::FocusedHover;
        return DrawFace(Skin::Pressed);
    }
    state_ = ButtonState::Focused;
    return DrawFace(Skin::Selected);
}

ButtonReaction ButtonStateMachine::LostFocus() {
    if (!enabled_ || state_ == ButtonState::Normal) return {};
    state_ = ButtonState::Normal;
    return DrawFace(Skin::Normal);
}

ButtonReaction ButtonStateMachine::TimerTick(bool pointerOutside) {
    if (!timerEnabled_ || !enabled_ || !pointerOutside) return {};
    if (state_ == ButtonState::Hover) {
        state_ = ButtonState::Normal;
        return DrawFace(Skin::Normal);
    }
    if (state_ == ButtonState::FocusedHover) {
        state_ = ButtonState::Focused;
        return DrawFace(Skin::Selected);
    }
    return {};
}

ButtonReaction ButtonStateMachine::ApplyEnabled() {
    ButtonReaction reaction = DrawFace(enabled_ ? Skin::Normal : Skin::Disable);
    reaction.captionEnabled = enabled_;
    return reaction;
}

ButtonReaction ButtonStateMachine::SetEnabled(bool enabled) {
    enabled_ = enabled;
    return ApplyEnabled();
}

}  // namespace mosaika
