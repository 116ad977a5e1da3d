// Fuzz target: texts built from arbitrary bytes, Strip, Resize, Append and the upper case. See
// fuzz/README.md.
#include "fuzz/KesFuzzChecks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string fault = kes_fuzz::StringOperations(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "string fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
