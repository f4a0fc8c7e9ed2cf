#pragma once

#include <cstdlib>

// Checks a property of the code under test; a failure is a finding like a crash.
#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition)) {   \
            std::abort();     \
        }                     \
    } while (false)
