// Replays the committed inputs of the fuzz targets (fuzz/corpus/<target>/ and
// fuzz/regressions/<target>/) through the same checks in the ordinary test build, so that what
// the fuzzers found stays found without a fuzzing toolchain.
#include "fuzz/KesFuzzChecks.h"
#include "robustness/KesScopedSettingsFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Check = std::function<std::string(const uint8_t*, size_t)>;

const std::filesystem::path& FuzzFolder() {
    static const std::filesystem::path folder = std::filesystem::path(KES_SOURCE_DIR) / "fuzz";
    return folder;
}

// The committed inputs of a target, in a stable order.
std::vector<std::filesystem::path> Inputs(const std::string& target) {
    std::vector<std::filesystem::path> inputs;
    for (const char* kind : {"corpus", "regressions"}) {
        const std::filesystem::path folder = FuzzFolder() / kind / target;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.is_regular_file() && entry.path().filename().string().front() != '.' &&
                entry.path().extension() != ".md") {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::vector<uint8_t> Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class KesFuzzReplayTest : public ::testing::Test {
protected:
    // Runs every input of `target`; returns how many ran.
    size_t Replay(const std::string& target, const Check& check) {
        const std::vector<std::filesystem::path> inputs = Inputs(target);
        for (const std::filesystem::path& path : inputs) {
            settings_.Use("settings"); // empty at each input, as in the fuzz target
            const std::vector<uint8_t> bytes = Read(path);
            const std::string fault = check(bytes.data(), bytes.size());
            EXPECT_TRUE(fault.empty()) << path << ": " << fault;
        }
        return inputs.size();
    }

    KesScopedSettingsFolder settings_;
};

TEST_F(KesFuzzReplayTest, EveryCommittedInputOfEveryTarget) {
    const std::vector<std::pair<std::string, Check>> targets = {
        {"KesPanelSessionFuzz", kes_fuzz::PanelSession},
        {"KesNumberTextFuzz", kes_fuzz::NumberText},
        {"KesStringFuzz", kes_fuzz::StringOperations}};
    for (const auto& [target, check] : targets) {
        EXPECT_GT(Replay(target, check), 0u) << target;
    }
}

TEST_F(KesFuzzReplayTest, PanelFileInputs) {
    EXPECT_GT(Replay("KesPanelFileFuzz", kes_fuzz::PanelFile), 0u);
}

// The checks themselves catch what they look for: an input the fuzz target must not accept
// (built here, not from the library) is reported.
TEST_F(KesFuzzReplayTest, TheUtf8CheckRefusesWhatIsNotUtf8) {
    EXPECT_TRUE(kes_fuzz::IsValidUtf8("plain é 漢 😀"));
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"}) {
        EXPECT_FALSE(kes_fuzz::IsValidUtf8(bad)) << bad;
    }
}

} // namespace
