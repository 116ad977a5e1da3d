// Fuzz target: any bytes read as a panel file, and a file accepted written, read back and built.
// See fuzz/README.md.
#include "fuzz/KesFuzzChecks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string fault = kes_fuzz::PanelFile(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "panel file fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
