// The button's transitions row by row, then the sequences a user makes: the
// ordinary click, the press dragged off, focus and hover before Initialize,
// and a button disabled half way through.
#include "ButtonStateMachine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace mosaika {
namespace {

using S = ButtonState;
using std::nullopt;

enum class Event { Initialize, Move, LeftDown, RightDown, LeftUp, RightUp, MiddleUp, GotFocus, LostFocus,
                   TickOutside, TickInside, Resize };

ButtonReaction Send(ButtonStateMachine& m, Event event) {
    switch (event) {
        case Event::Initialize: return m.Initialize();
        case Event::Move: return m.MouseMove();
        case Event::LeftDown: return m.MouseDown(MouseButton::Left);
        case Event::RightDown: return m.MouseDown(MouseButton::Right);
        case Event::LeftUp: return m.MouseUp(MouseButton::Left);
        case Event::RightUp: return m.MouseUp(MouseButton::Right);
        case Event::MiddleUp: return m.MouseUp(MouseButton::Middle);
        case Event::GotFocus: return m.GotFocus();
        case Event::LostFocus: return m.LostFocus();
        case Event::TickOutside: return m.TimerTick(true);
        case Event::TickInside: return m.TimerTick(false);
        case Event::Resize: return m.Resize();
    }
    return {};
}

// An enabled, initialised control brought into `state` the way a user does
// (state 0: never initialised), optionally with the left button held.
ButtonStateMachine MachineIn(S state, bool held = false) {
    ButtonStateMachine m;
    m.SetEnabledFlag(true);
    switch (state) {
        case S::Uninitialised: break;
        case S::Normal: m.Initialize(); break;
        case S::Hover: m.Initialize(); m.MouseMove(); break;
        case S::Focused: m.Initialize(); m.GotFocus(); break;
        case S::FocusedHover: m.Initialize(); m.GotFocus(); m.MouseMove(); break;
    }
    if (held) m.MouseDown(MouseButton::Left);
    EXPECT_EQ(m.State(), state);
    return m;
}

TEST(ButtonStateMachine, EveryRowOfTheTransitionTable) {
    const struct {
        Event event;
        S from;
        bool held;
        S to;
        std::optional<Skin> draw;
        bool click;
        bool heldAfter;
    } rows[] = {
        {Event::Initialize, S::Uninitialised, false, S::Normal, nullopt, false, false},
        {Event::Initialize, S::FocusedHover, false, S::Normal, nullopt, false, false},

        {Event::Move, S::Normal, false, S::Hover, Skin::HighLight, false, false},
        {Event::Move, S::Focused, false, S::FocusedHover, Skin::HighLightSelect, false, false},
        {Event::Move, S::Focused, true, S::Focused, nullopt, false, true},
        {Event::Move, S::Hover, false, S::Hover, nullopt, false, false},
        {Event::Move, S::FocusedHover, false, S::FocusedHover, nullopt, false, false},
        {Event::Move, S::Uninitialised, false, S::Uninitialised, nullopt, false, false},

        {Event::LeftDown, S::Normal, false, S::Normal, Skin::Pressed, false, true},
        {Event::LeftDown, S::Hover, false, S::Hover, Skin::Pressed, false, true},
        {Event::LeftDown, S::FocusedHover, false, S::FocusedHover, Skin::Pressed, false, true},
        {Event::RightDown, S::Hover, false, S::Hover, nullopt, false, false},

        {Event::GotFocus, S::Uninitialised, false, S::Focused, Skin::Selected, false, false},
        {Event::GotFocus, S::Normal, false, S::Focused, Skin::Selected, false, false},
        {Event::GotFocus, S::FocusedHover, false, S::Focused, Skin::Selected, false, false},
        {Event::GotFocus, S::Hover, false, S::FocusedHover, Skin::Pressed, false, false},

        {Event::LostFocus, S::Uninitialised, false, S::Normal, Skin::Normal, false, false},
        {Event::LostFocus, S::Hover, false, S::Normal, Skin::Normal, false, false},
        {Event::LostFocus, S::FocusedHover, false, S::Normal, Skin::Normal, false, false},
        {Event::LostFocus, S::Normal, false, S::Normal, nullopt, false, false},

        {Event::LeftUp, S::Hover, true, S::Hover, Skin::Normal, true, false},
        {Event::LeftUp, S::FocusedHover, true, S::FocusedHover, Skin::HighLightSelect, true, false},
        {Event::LeftUp, S::Normal, true, S::Normal, nullopt, true, false},
        {Event::LeftUp, S::Uninitialised, true, S::Uninitialised, nullopt, true, false},
        {Event::LeftUp, S::Focused, true, S::Focused, nullopt, false, false},
        {Event::RightUp, S::Hover, true, S::Hover, nullopt, true, true},
        {Event::RightUp, S::FocusedHover, false, S::FocusedHover, nullopt, true, false},
        {Event::RightUp, S::Focused, false, S::Focused, nullopt, false, false},
        {Event::MiddleUp, S::Normal, false, S::Normal, nullopt, true, false},

        {Event::TickOutside, S::Hover, false, S::Normal, Skin::Normal, false, false},
        {Event::TickOutside, S::FocusedHover, true, S::Focused, Skin::Selected, false, true},
        {Event::TickOutside, S::Normal, false, S::Normal, nullopt, false, false},
        {Event::TickOutside, S::Focused, false, S::Focused, nullopt, false, false},
        {Event::TickInside, S::Hover, false, S::Hover, nullopt, false, false},
        {Event::TickInside, S::FocusedHover, false, S::FocusedHover, nullopt, false, false},

        {Event::Resize, S::Hover, false, S::Hover, Skin::Normal, false, false},
        {Event::Resize, S::Uninitialised, false, S::Uninitialised, Skin::Normal, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("event " + std::to_string(static_cast<int>(row.event)) + " from state " +
                     std::to_string(static_cast<int>(row.from)) + (row.held ? " held" : ""));
        ButtonStateMachine m = MachineIn(row.from, row.held);
        const ButtonReaction reaction = Send(m, row.event);
        EXPECT_EQ(m.State(), row.to);
        EXPECT_EQ(reaction.draw, row.draw);
        EXPECT_EQ(reaction.click, row.click);
        EXPECT_EQ(m.ButtonHeld(), row.heldAfter);
    }
}

TEST(ButtonStateMachine, DisabledControlIgnoresFocusMouseAndTimer) {
    const Event ignored[] = {Event::Move,      Event::LeftDown,  Event::RightDown, Event::LeftUp,
                             Event::RightUp,   Event::GotFocus,  Event::LostFocus, Event::TickOutside};
    for (const S state : {S::Uninitialised, S::Normal, S::Hover, S::Focused, S::FocusedHover}) {
        for (const bool held : {false, true}) {
            for (const Event event : ignored) {
                SCOPED_TRACE(static_cast<int>(state) * 100 + static_cast<int>(event) + (held ? 1000 : 0));
                ButtonStateMachine m = MachineIn(state, held);
                m.SetEnabledFlag(false);
                const bool reversed = m.GradientReversed();
                EXPECT_EQ(Send(m, event), ButtonReaction{});
                EXPECT_EQ(m.State(), state);
                EXPECT_EQ(m.ButtonHeld(), held);
                EXPECT_EQ(m.GradientReversed(), reversed);
            }
        }
    }
}

TEST(ButtonStateMachine, ApplyEnabledDrawsNormalOrDisableAndKeepsTheState) {
    for (const S state : {S::Uninitialised, S::Normal, S::Hover, S::Focused, S::FocusedHover}) {
        SCOPED_TRACE(static_cast<int>(state));
        ButtonStateMachine m = MachineIn(state);
        EXPECT_EQ(m.SetEnabled(false), (ButtonReaction{Skin::Disable, m.GradientReversed(), false, false}));
        EXPECT_EQ(m.Resize().draw, Skin::Disable) << "a resize draws while disabled";
        EXPECT_EQ(m.SetEnabled(true), (ButtonReaction{Skin::Normal, m.GradientReversed(), true, false}));
        EXPECT_EQ(m.State(), state);
    }
    // A hover look kept through the disabled time is dropped by the next tick.
    ButtonStateMachine m = MachineIn(S::FocusedHover);
    m.SetEnabled(false);
    m.SetEnabled(true);
    EXPECT_EQ(m.TimerTick(true).draw, Skin::Selected);
    m.SetEnabled(false);
    m.Initialize();
    EXPECT_EQ(m.State(), S::Normal) << "Initialize runs while disabled";
}

TEST(ButtonStateMachine, GradientDirectionFollowsTheStateAtEachDrawing) {
    // 1 and 3 rest (light on top), 2 is reversed, 0 and 4 keep the last drawing's.
    using E = Event;
    const struct {
        std::vector<Event> events;
        S state;
        bool reversed;  // of the last event's drawing
    } rows[] = {
        {{E::Initialize, E::Move, E::Initialize, E::Resize}, S::Normal, false},
        {{E::Initialize, E::Move}, S::Hover, true},
        {{E::Initialize, E::Move, E::GotFocus, E::TickOutside}, S::Focused, false},
        {{E::Initialize, E::Move, E::GotFocus}, S::FocusedHover, true},
        {{E::Initialize, E::Move, E::GotFocus, E::Resize}, S::FocusedHover, true},
        {{E::Initialize, E::GotFocus, E::Move}, S::FocusedHover, false},
        {{E::Resize}, S::Uninitialised, false},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        ButtonStateMachine m;
        m.SetEnabledFlag(true);
        ButtonReaction last;
        for (const Event event : rows[i].events) last = Send(m, event);
        EXPECT_EQ(m.State(), rows[i].state);
        ASSERT_TRUE(last.draw.has_value());
        EXPECT_EQ(last.gradientReversed, rows[i].reversed);
        EXPECT_EQ(m.GradientReversed(), rows[i].reversed);
    }
}

TEST(ButtonStateMachine, OrdinaryClickOnAButtonWithoutFocus) {
    ButtonStateMachine m = MachineIn(S::Normal);
    EXPECT_EQ(m.MouseMove(), (ButtonReaction{Skin::HighLight, true, nullopt, false}));
    EXPECT_EQ(m.MouseDown(MouseButton::Left), (ButtonReaction{Skin::Pressed, true, nullopt, false}));
    EXPECT_EQ(m.GotFocus(), (ButtonReaction{Skin::Pressed, true, nullopt, false}));
    // Reached through a click from state 2, HighLightSelect keeps the hover direction.
    EXPECT_EQ(m.MouseUp(MouseButton::Left), (ButtonReaction{Skin::HighLightSelect, true, nullopt, true}));
    EXPECT_EQ(m.State(), S::FocusedHover);
}

TEST(ButtonStateMachine, PressDraggedOffGivesNoClickOnceATickHasSeenIt) {
    ButtonStateMachine m = MachineIn(S::Hover);
    m.MouseDown(MouseButton::Left);
    m.GotFocus();
    EXPECT_EQ(m.TimerTick(true).draw, Skin::Selected);
    EXPECT_EQ(m.MouseMove(), ButtonReaction{}) << "coming back while held keeps the look";
    const ButtonReaction release = m.MouseUp(MouseButton::Left);
    EXPECT_FALSE(release.click);
    EXPECT_EQ(release.draw, nullopt);
    EXPECT_EQ(m.State(), S::Focused);
    EXPECT_EQ(m.MouseMove().draw, Skin::HighLightSelect) << "the first move after the release";
    EXPECT_FALSE(m.GradientReversed()) << "HighLightSelect from state 3 rests";

    // Released before any tick noticed the pointer leave: still a click.
    ButtonStateMachine quick = MachineIn(S::Hover);
    quick.MouseDown(MouseButton::Left);
    quick.GotFocus();
    EXPECT_TRUE(quick.MouseUp(MouseButton::Left).click);
}

TEST(ButtonStateMachine, BeforeInitializeFocusWorksButNoHoverIsDropped) {
    ButtonStateMachine m;
    m.SetEnabledFlag(true);
    EXPECT_FALSE(m.TimerEnabled());
    EXPECT_EQ(m.MouseMove(), ButtonReaction{}) << "no hover look in state 0";
    EXPECT_EQ(m.GotFocus().draw, Skin::Selected);
    EXPECT_EQ(m.MouseMove().draw, Skin::HighLightSelect);
    EXPECT_EQ(m.TimerTick(true), ButtonReaction{}) << "the leave timer is not running";
    EXPECT_EQ(m.State(), S::FocusedHover);

    m.Initialize();
    EXPECT_TRUE(m.TimerEnabled());
    EXPECT_EQ(m.State(), S::Normal);
    EXPECT_EQ(m.MouseMove().draw, Skin::HighLight);
    EXPECT_EQ(m.TimerTick(true).draw, Skin::Normal);
}

}  // namespace
}  // namespace mosaika
