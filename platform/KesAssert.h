// Checks for programmer errors inside the library and the platform layer.
//
// KES_ASSERT stays on in every build type: a broken invariant stops the process with a message
// naming the file and line instead of running into undefined behaviour. Conditions that come
// from callers or users are never asserted; they are ignored, clamped or refused as each header
// documents.
#pragma once

#include <cstdio>
#include <cstdlib>

#define KES_ASSERT(condition, message)                                                             \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: assertion failed: %s (%s)\n", __FILE__, __LINE__,         \
                         #condition, message);                                                     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
