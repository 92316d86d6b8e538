#pragma once
// A property a fuzz target checks on every input: when it does not hold, the
// target says which and aborts, which libFuzzer reports as a crash.

#include <cstdio>
#include <cstdlib>

#define ZUDO_FUZZ_CHECK(condition)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
