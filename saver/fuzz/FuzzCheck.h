// The one assertion the fuzz targets use: it says which rule broke and where,
// then aborts, so libFuzzer keeps the input that broke it (crash-<sha1>).
// Release builds keep it: it does not depend on NDEBUG.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, rule)                                                        \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: broken rule: %s\n  (%s is false)\n", __FILE__,   \
                         __LINE__, rule, #condition);                                      \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)
