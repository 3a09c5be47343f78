#include "CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace mosaika {
namespace {

TEST(CommandLine, ModeActionFollowsTheFoldedSecondCharacter) {
    const struct {
        std::string commandLine;
        ModeAction expected;
    } rows[] = {
        {"/s", ModeAction::SaverCursorHidden},     {"-S", ModeAction::SaverCursorHidden},
        {"xs", ModeAction::SaverCursorHidden},     {"/p 1234", ModeAction::Preview},
        {"/P:1234", ModeAction::Preview},          {"/c:1234", ModeAction::Settings},
        {"", ModeAction::SaverCursorVisible},      {"S", ModeAction::EndSilently},
        {"/a 1234", ModeAction::EndSilently},      {"//s", ModeAction::EndSilently},
        {"/\xC5\xBF", ModeAction::EndSilently},      // long s, whose Unicode capital is S
        {"/\xEF\xBD\x93", ModeAction::EndSilently},  // full-width s
        {"\xF0\x9F\x98\x80s", ModeAction::EndSilently},  // a surrogate pair fills positions 1 and 2
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.commandLine);
        EXPECT_EQ(ModeActionFor(row.commandLine), row.expected);
    }
}

TEST(CommandLine, HostHandleIsTheRoundedNumberFromTheFourthCharacter) {
    const struct {
        std::string commandLine;
        std::int32_t expected;
    } rows[] = {
        {"/p 1234", 1234},     {"/p:1234", 1234},         {"/p  12 34 ", 1234},
        {"/p 1234x99", 1234},  {"/p", 0},                 {"/p x", 0},
        {"/p1234", 234},       {"/p 12.5", 12},           {"/p 13.5", 14},
        {"/p -7", -7},         {"/p 2147483648", 0},      {"/p 1e400", 0},
        {"/p\xC3\xA9" "99", 99},
        {"/\xF0\x9F\x98\x80" "99", 99},  // the pair is characters 2 and 3
        {"/p\xF0\x9F\x98\x80" "99", 0},  // the fourth character is half a pair
        {"/p\xFF" "99", 99},             // a stray byte is one character
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.commandLine);
        EXPECT_EQ(HostWindowHandle(row.commandLine), row.expected);
    }
}

}  // namespace
}  // namespace mosaika
