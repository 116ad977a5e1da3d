// Fuzz target: ConvertToNum and BuildFromNum on arbitrary bytes and formats. See fuzz/README.md.
#include "fuzz/KesFuzzChecks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string fault = kes_fuzz::NumberText(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "number text fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
