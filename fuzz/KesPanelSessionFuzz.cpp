// Fuzz target: the input is a sequence of steps over a panel of every attribute class (user
// actions on any widget, caller calls with hostile vectors, value collection), every check made
// after every step. See fuzz/README.md.
#include "fuzz/KesFuzzChecks.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::filesystem::path settingsFolder;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A settings folder of this process; emptied before each input so that inputs replay alike.
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kes-fuzz-session-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    settingsFolder = std::filesystem::path(pattern) / "settings";
    ::setenv("KES_SETTINGS_DIR", settingsFolder.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::error_code ignored;
    std::filesystem::remove_all(settingsFolder, ignored);
    const std::string fault = kes_fuzz::PanelSession(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "panel session fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
