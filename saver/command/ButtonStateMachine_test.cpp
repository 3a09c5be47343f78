// The button's transitions and the sequences a user makes, each row the
// events from a new enabled control, then a control disabled on the way.
#include "ButtonStateMachine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace mosaika {
namespace {

using S = ButtonState;
using forms::MouseButton;
constexpr std::nullopt_t kNone = std::nullopt;

// I Initialize, M move, L/l left down/up, R/r right down/up, n middle up,
// F/f got/lost focus, T/t timer tick with the pointer outside/inside, Z resize.
ButtonReaction Send(ButtonStateMachine& m, char event) {
    switch (event) {
        case 'I': return m.Initialize();
        case 'M': return m.MouseMove();
        case 'L': return m.MouseDown(MouseButton::Left);
        case 'R': return m.MouseDown(MouseButton::Right);
        case 'l': return m.MouseUp(MouseButton::Left);
        case 'r': return m.MouseUp(MouseButton::Right);
        case 'n': return m.MouseUp(MouseButton::Middle);
        case 'F': return m.GotFocus();
        case 'f': return m.LostFocus();
        case 'T': return m.TimerTick(true);
        case 't': return m.TimerTick(false);
        case 'Z': return m.Resize();
    }
    ADD_FAILURE() << "no event " << event;
    return {};
}

ButtonReaction Play(ButtonStateMachine& m, std::string_view events) {
    ButtonReaction last;
    for (const char event : events) last = Send(m, event);
    return last;
}

TEST(ButtonStateMachine, TransitionsAndSequencesAUserMakes) {
    // States 1 and 3 draw resting (light on top), 2 reversed, 0 and 4 keep the last drawing's direction.
    const struct {
        const char* events;
        S state;
        std::optional<Skin> draw;
        bool reversed, click;
    } rows[] = {
        {"I", S::Normal, kNone, false, false},           {"IFMI", S::Normal, kNone, false, false},
        {"IM", S::Hover, Skin::HighLight, true, false},  {"IFM", S::FocusedHover, Skin::HighLightSelect, false, false},
        {"IFLM", S::Focused, kNone, false, false},       {"IMM", S::Hover, kNone, false, false},
        {"IFMM", S::FocusedHover, kNone, false, false},  {"M", S::Uninitialised, kNone, false, false},
        {"IL", S::Normal, Skin::Pressed, false, false},  {"IML", S::Hover, Skin::Pressed, true, false},
        {"IFML", S::FocusedHover, Skin::Pressed, false, false}, {"IMR", S::Hover, kNone, false, false},
        {"F", S::Focused, Skin::Selected, false, false}, {"IF", S::Focused, Skin::Selected, false, false},
        {"IFMF", S::Focused, Skin::Selected, false, false}, {"IMF", S::FocusedHover, Skin::Pressed, true, false},
        {"f", S::Normal, Skin::Normal, false, false},    {"IMf", S::Normal, Skin::Normal, false, false},
        {"IFMf", S::Normal, Skin::Normal, false, false}, {"If", S::Normal, kNone, false, false},
        {"IMLl", S::Hover, Skin::Normal, true, true},    {"IFMLl", S::FocusedHover, Skin::HighLightSelect, false, true},
        {"ILl", S::Normal, kNone, false, true},          {"Ll", S::Uninitialised, kNone, false, true},
        {"IFLl", S::Focused, kNone, false, false},       {"IMLr", S::Hover, kNone, false, true},
        {"IFMr", S::FocusedHover, kNone, false, true},   {"IFr", S::Focused, kNone, false, false},
        {"In", S::Normal, kNone, false, true},           {"IMT", S::Normal, Skin::Normal, false, false},
        {"IFMLT", S::Focused, Skin::Selected, false, false}, {"IT", S::Normal, kNone, false, false},
        {"IFT", S::Focused, kNone, false, false},        {"IMt", S::Hover, kNone, false, false},
        {"IFMt", S::FocusedHover, kNone, false, false},  {"IMZ", S::Hover, Skin::Normal, true, false},
        {"Z", S::Uninitialised, Skin::Normal, false, false}, {"IMIZ", S::Normal, Skin::Normal, false, false},
        {"IMFZ", S::FocusedHover, Skin::Normal, true, false},  // focus while hovering, then resized
        {"IMFT", S::Focused, Skin::Selected, false, false},    // then left
        {"IMLFl", S::FocusedHover, Skin::HighLightSelect, true, true},  // the ordinary click
        {"IMLFT", S::Focused, Skin::Selected, false, false},   // pressed and dragged off
        {"IMLFTM", S::Focused, kNone, false, false},           // coming back while held
        {"IMLFTMl", S::Focused, kNone, false, false},          // released: no click
        {"IMLFTrM", S::Focused, kNone, false, false},          // a right release keeps the left held
        {"IMLFTlM", S::FocusedHover, Skin::HighLightSelect, false, false},  // released outside, in after
        {"FM", S::FocusedHover, Skin::HighLightSelect, false, false},       // focus before Initialize
        {"FMT", S::FocusedHover, kNone, false, false},         // no leave timer before Initialize
        {"FMTIM", S::Hover, Skin::HighLight, true, false},     // hover after Initialize
        {"FMTIMT", S::Normal, Skin::Normal, false, false},     // leave after Initialize
    };
    for (const auto& row : rows) {
        ButtonStateMachine m;
        m.SetEnabledFlag(true);
        const ButtonReaction last = Play(m, row.events);
        EXPECT_EQ(m.State(), row.state) << row.events;
        EXPECT_EQ(last.draw, row.draw) << row.events;
        EXPECT_EQ(last.draw && last.gradientReversed, row.reversed) << row.events;
        EXPECT_EQ(last.click, row.click) << row.events;
    }
}

TEST(ButtonStateMachine, DisabledControlIgnoresFocusMouseAndTimerAndDrawsDisableOnResize) {
    for (const std::string way : {"", "I", "IM", "IF", "IFM", "IL", "IML", "IFL", "IFML"}) {
        ButtonStateMachine m;
        m.SetEnabledFlag(true);
        Play(m, way);
        const S state = m.State();
        const bool reversed = m.Resize().gradientReversed;
        m.SetEnabledFlag(false);
        for (const char event : std::string("MLRlrFfT")) EXPECT_EQ(Send(m, event), ButtonReaction{}) << way << event;
        EXPECT_EQ(m.State(), state) << way;
        // The direction of the last drawing is kept through the disabled time.
        EXPECT_EQ(m.SetEnabled(false), (ButtonReaction{Skin::Disable, reversed, false, false}));
        EXPECT_EQ(m.Resize().draw, Skin::Disable);
        EXPECT_EQ(m.SetEnabled(true), (ButtonReaction{Skin::Normal, reversed, true, false})) << way;
        EXPECT_EQ(m.State(), state) << way;
    }
    // A hover look kept through the disabled time is dropped by the next tick; Initialize runs while disabled.
    ButtonStateMachine m;
    m.SetEnabledFlag(true);
    Play(m, "IFM");
    m.SetEnabled(false);
    m.SetEnabled(true);
    EXPECT_EQ(m.TimerTick(true).draw, Skin::Selected);
    m.SetEnabled(false);
    m.Initialize();
    EXPECT_EQ(m.State(), S::Normal);
}

}  // namespace
}  // namespace mosaika
