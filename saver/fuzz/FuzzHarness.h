// The harness every fuzz target includes: the target defines FuzzOne, which
// gets each input as bytes and states its rules with FUZZ_CHECK. A broken rule
// is named, then aborts, so libFuzzer keeps the input (crash-<sha1>); the
// check does not depend on NDEBUG.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition, rule)                                                                        \
    ((condition) ? void() : (std::fprintf(stderr, "%s:%d: broken rule: %s\n  (%s is false)\n", __FILE__, __LINE__, \
                                          rule, #condition),                                                 \
                             std::abort()))

namespace {
void FuzzOne(std::string_view bytes);
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzOne(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
