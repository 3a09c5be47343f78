// The button's transitions row by row, then the sequences a user makes: the
// ordinary click, the press dragged off, focus and hover before Initialize,
// the gradient's direction, and a button disabled half way through.
#include "ButtonStateMachine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace mosaika {
namespace {

using S = ButtonState;
using std::nullopt;

enum class E { Initialize, Move, LeftDown, RightDown, LeftUp, RightUp, MiddleUp, GotFocus, LostFocus, TickOutside,
               TickInside, Resize };

ButtonReaction Send(ButtonStateMachine& m, E event) {
    switch (event) {
        case E::Initialize: return m.Initialize();
        case E::Move: return m.MouseMove();
        case E::LeftDown: return m.MouseDown(forms::MouseButton::Left);
        case E::RightDown: return m.MouseDown(forms::MouseButton::Right);
        case E::LeftUp: return m.MouseUp(forms::MouseButton::Left);
        case E::RightUp: return m.MouseUp(forms::MouseButton::Right);
        case E::MiddleUp: return m.MouseUp(forms::MouseButton::Middle);
        case E::GotFocus: return m.GotFocus();
        case E::LostFocus: return m.LostFocus();
        case E::TickOutside: return m.TimerTick(true);
        case E::TickInside: return m.TimerTick(false);
        case E::Resize: return m.Resize();
    }
    return {};
}

// An enabled control after the events, and the last event's reaction.
ButtonReaction After(ButtonStateMachine& m, const std::vector<E>& events) {
    m.SetEnabledFlag(true);
    ButtonReaction last;
    for (const E event : events) last = Send(m, event);
    return last;
}

// An enabled control brought into `state` the way a user does, optionally with the left button held.
ButtonStateMachine MachineIn(S state, bool held = false) {
    const std::vector<E> ways[] = {{}, {E::Initialize}, {E::Initialize, E::Move}, {E::Initialize, E::GotFocus},
                                   {E::Initialize, E::GotFocus, E::Move}};
    ButtonStateMachine m;
    After(m, ways[static_cast<int>(state)]);
    if (held) m.MouseDown(forms::MouseButton::Left);
    EXPECT_EQ(m.State(), state);
    return m;
}

TEST(ButtonStateMachine, EveryRowOfTheTransitionTable) {
    const struct {
        E event;
        S from;
        bool held;
        S to;
        std::optional<Skin> draw;
        bool click;
    } rows[] = {
        {E::Initialize, S::Uninitialised, false, S::Normal, nullopt, false},
        {E::Initialize, S::FocusedHover, false, S::Normal, nullopt, false},
        {E::Move, S::Normal, false, S::Hover, Skin::HighLight, false},
        {E::Move, S::Focused, false, S::FocusedHover, Skin::HighLightSelect, false},
        {E::Move, S::Focused, true, S::Focused, nullopt, false},
        {E::Move, S::Hover, false, S::Hover, nullopt, false},
        {E::Move, S::FocusedHover, false, S::FocusedHover, nullopt, false},
        {E::Move, S::Uninitialised, false, S::Uninitialised, nullopt, false},
        {E::LeftDown, S::Normal, false, S::Normal, Skin::Pressed, false},
        {E::LeftDown, S::Hover, false, S::Hover, Skin::Pressed, false},
        {E::LeftDown, S::FocusedHover, false, S::FocusedHover, Skin::Pressed, false},
        {E::RightDown, S::Hover, false, S::Hover, nullopt, false},
        {E::GotFocus, S::Uninitialised, false, S::Focused, Skin::Selected, false},
        {E::GotFocus, S::Normal, false, S::Focused, Skin::Selected, false},
        {E::GotFocus, S::FocusedHover, false, S::Focused, Skin::Selected, false},
        {E::GotFocus, S::Hover, false, S::FocusedHover, Skin::Pressed, false},
        {E::LostFocus, S::Uninitialised, false, S::Normal, Skin::Normal, false},
        {E::LostFocus, S::Hover, false, S::Normal, Skin::Normal, false},
        {E::LostFocus, S::FocusedHover, false, S::Normal, Skin::Normal, false},
        {E::LostFocus, S::Normal, false, S::Normal, nullopt, false},
        {E::LeftUp, S::Hover, true, S::Hover, Skin::Normal, true},
        {E::LeftUp, S::FocusedHover, true, S::FocusedHover, Skin::HighLightSelect, true},
        {E::LeftUp, S::Normal, true, S::Normal, nullopt, true},
        {E::LeftUp, S::Uninitialised, true, S::Uninitialised, nullopt, true},
        {E::LeftUp, S::Focused, true, S::Focused, nullopt, false},
        {E::RightUp, S::Hover, true, S::Hover, nullopt, true},
        {E::RightUp, S::FocusedHover, false, S::FocusedHover, nullopt, true},
        {E::RightUp, S::Focused, false, S::Focused, nullopt, false},
        {E::MiddleUp, S::Normal, false, S::Normal, nullopt, true},
        {E::TickOutside, S::Hover, false, S::Normal, Skin::Normal, false},
        {E::TickOutside, S::FocusedHover, true, S::Focused, Skin::Selected, false},
        {E::TickOutside, S::Normal, false, S::Normal, nullopt, false},
        {E::TickOutside, S::Focused, false, S::Focused, nullopt, false},
        {E::TickInside, S::Hover, false, S::Hover, nullopt, false},
        {E::TickInside, S::FocusedHover, false, S::FocusedHover, nullopt, false},
        {E::Resize, S::Hover, false, S::Hover, Skin::Normal, false},
        {E::Resize, S::Uninitialised, false, S::Uninitialised, Skin::Normal, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("event " + std::to_string(static_cast<int>(row.event)) + " from state " +
                     std::to_string(static_cast<int>(row.from)) + (row.held ? " held" : ""));
        ButtonStateMachine m = MachineIn(row.from, row.held);
        const ButtonReaction reaction = Send(m, row.event);
        EXPECT_EQ(m.State(), row.to);
        EXPECT_EQ(reaction.draw, row.draw);
        EXPECT_EQ(reaction.click, row.click);
    }
}

TEST(ButtonStateMachine, SequencesAUserMakes) {
    // States 1 and 3 draw resting (light on top), 2 reversed, 0 and 4 keep the last drawing's direction.
    const std::vector<E> click = {E::Initialize, E::Move, E::LeftDown, E::GotFocus};
    const std::vector<E> draggedOff = {E::Initialize, E::Move, E::LeftDown, E::GotFocus, E::TickOutside};
    const std::vector<E> early = {E::GotFocus, E::Move, E::TickOutside, E::Initialize};
    const auto with = [](std::vector<E> events, std::initializer_list<E> more) {
        events.insert(events.end(), more);
        return events;
    };
    const struct {
        const char* what;
        std::vector<E> events;
        S state;
        std::optional<Skin> draw;
        bool reversed, click;
    } rows[] = {
        {"resize", {E::Initialize, E::Move, E::Initialize, E::Resize}, S::Normal, Skin::Normal, false, false},
        {"hover", {E::Initialize, E::Move}, S::Hover, Skin::HighLight, true, false},
        {"focus while hovering", {E::Initialize, E::Move, E::GotFocus}, S::FocusedHover, Skin::Pressed, true, false},
        {"then resized", {E::Initialize, E::Move, E::GotFocus, E::Resize}, S::FocusedHover, Skin::Normal, true, false},
        {"then left", {E::Initialize, E::Move, E::GotFocus, E::TickOutside}, S::Focused, Skin::Selected, false, false},
        {"hover, focused", {E::Initialize, E::GotFocus, E::Move}, S::FocusedHover, Skin::HighLightSelect, false, false},
        {"resize before Initialize", {E::Resize}, S::Uninitialised, Skin::Normal, false, false},
        {"ordinary click", with(click, {E::LeftUp}), S::FocusedHover, Skin::HighLightSelect, true, true},
        {"pressed, dragged off", draggedOff, S::Focused, Skin::Selected, false, false},
        {"coming back while held", with(draggedOff, {E::Move}), S::Focused, nullopt, false, false},
        {"released outside: no click", with(draggedOff, {E::Move, E::LeftUp}), S::Focused, nullopt, false, false},
        {"right up keeps left held", with(draggedOff, {E::RightUp, E::Move}), S::Focused, nullopt, false, false},
        {"in after", with(draggedOff, {E::LeftUp, E::Move}), S::FocusedHover, Skin::HighLightSelect, false, false},
        {"no hover look before Initialize", {E::Move}, S::Uninitialised, nullopt, false, false},
        {"focus before Initialize", {E::GotFocus, E::Move}, S::FocusedHover, Skin::HighLightSelect, false, false},
        {"no leave timer before Initialize", {E::GotFocus, E::Move, E::TickOutside}, S::FocusedHover, nullopt, false,
         false},
        {"hover after Initialize", with(early, {E::Move}), S::Hover, Skin::HighLight, true, false},
        {"leave after Initialize", with(early, {E::Move, E::TickOutside}), S::Normal, Skin::Normal, false, false},
    };
    for (const auto& row : rows) {
        ButtonStateMachine m;
        const ButtonReaction last = After(m, row.events);
        EXPECT_EQ(m.State(), row.state) << row.what;
        EXPECT_EQ(last.draw, row.draw) << row.what;
        EXPECT_EQ(last.draw && last.gradientReversed, row.reversed) << row.what;
        EXPECT_EQ(last.click, row.click) << row.what;
    }
}

TEST(ButtonStateMachine, DisabledControlIgnoresFocusMouseAndTimerAndDrawsDisableOnResize) {
    for (const S state : {S::Uninitialised, S::Normal, S::Hover, S::Focused, S::FocusedHover}) {
        for (const bool held : {false, true}) {
            for (const E event : {E::Move, E::LeftDown, E::RightDown, E::LeftUp, E::RightUp, E::GotFocus,
                                  E::LostFocus, E::TickOutside}) {
                SCOPED_TRACE(static_cast<int>(state) * 100 + static_cast<int>(event) + (held ? 1000 : 0));
                ButtonStateMachine m = MachineIn(state, held);
                m.SetEnabledFlag(false);
                EXPECT_EQ(Send(m, event), ButtonReaction{});
                EXPECT_EQ(m.State(), state);
            }
        }
        // The direction of the last drawing is kept through the disabled time.
        ButtonStateMachine m = MachineIn(state);
        const bool reversed = m.Resize().gradientReversed;
        EXPECT_EQ(m.SetEnabled(false), (ButtonReaction{Skin::Disable, reversed, false, false}));
        EXPECT_EQ(m.Resize().draw, Skin::Disable);
        EXPECT_EQ(m.SetEnabled(true), (ButtonReaction{Skin::Normal, reversed, true, false}));
        EXPECT_EQ(m.State(), state);
    }
    // A hover look kept through the disabled time is dropped by the next tick; Initialize runs while disabled.
    ButtonStateMachine m = MachineIn(S::FocusedHover);
    m.SetEnabled(false);
    m.SetEnabled(true);
    EXPECT_EQ(m.TimerTick(true).draw, Skin::Selected);
    m.SetEnabled(false);
    m.Initialize();
    EXPECT_EQ(m.State(), S::Normal);
}

}  // namespace
}  // namespace mosaika
