// The edge rows of the command-line readers; CommandLine_fuzz checks every
// input against a reader of the platform's UTF-16 text.
#include "CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace mosaika {
namespace {

TEST(CommandLine, ModeActionFollowsTheFoldedSecondCharacter) {
    using A = ModeAction;
    const std::pair<std::string, ModeAction> rows[] = {
        {"/s", A::SaverCursorHidden}, {"-S", A::SaverCursorHidden}, {"/P:1234", A::Preview}, {"/c 1", A::Settings},
        {"", A::SaverCursorVisible},  {"S", A::EndSilently},        {"//s", A::EndSilently},
        {"/\xC5\xBF", A::EndSilently},        // long s, whose Unicode capital is S
        {"\xF0\x9F\x98\x80s", A::EndSilently},  // a surrogate pair fills positions 1 and 2
    };
    for (const auto& [commandLine, action] : rows) EXPECT_EQ(ModeActionFor(commandLine), action) << commandLine;
}

TEST(CommandLine, HostHandleIsTheRoundedNumberFromTheFourthCharacter) {
    const std::pair<std::string, std::int32_t> rows[] = {
        {"/p 1234", 1234},        {"/p:1234", 1234},   {"/p  12 34 ", 1234}, {"/p1234", 234}, {"/p 12.5", 12},
        {"/p 13.5", 14},          {"/p -7", -7},       {"/p 2147483648", 0}, {"/p x", 0},     {"/p", 0},
        {"/\xF0\x9F\x98\x80" "99", 99},  // the pair is characters 2 and 3
        {"/p\xF0\x9F\x98\x80" "99", 0},  // the fourth character is half a pair
    };
    for (const auto& [commandLine, handle] : rows) EXPECT_EQ(HostWindowHandle(commandLine), handle) << commandLine;
}

}  // namespace
}  // namespace mosaika
