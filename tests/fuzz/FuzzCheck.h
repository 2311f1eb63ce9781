#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep. A failure aborts, so that the fuzzer keeps the input and
// the replay of the corpus fails on it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
