// Replays the committed inputs of the fuzz targets (fuzz/corpus/<target>/ and
// fuzz/regressions/<target>/) through the same checks in the ordinary test build, so that what
// the fuzzers found stays found without a fuzzing toolchain.
#include "fuzz/KesFuzzChecks.h"
#include "robustness/KesScopedSettingsFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Check = std::function<std::string(const uint8_t*, size_t)>;

TEST(KesFuzzReplayTest, EveryCommittedInputOfEveryTarget) {
    KesScopedSettingsFolder settings;
    for (const auto& [target, check] :
         std::vector<std::pair<std::string, Check>>{{"KesPanelSessionFuzz", kes_fuzz::PanelSession},
                                                    {"KesNumberTextFuzz", kes_fuzz::NumberText},
                                                    {"KesStringFuzz", kes_fuzz::StringOperations},
                                                    {"KesPanelFileFuzz", kes_fuzz::PanelFile}}) {
        int replayed = 0;
        for (const char* kind : {"corpus", "regressions"}) {
            std::error_code none; // a target may have no regressions yet
            for (const auto& entry : std::filesystem::directory_iterator(
                     std::filesystem::path(KES_SOURCE_DIR) / "fuzz" / kind / target, none)) {
                const std::filesystem::path& path = entry.path();
                if (entry.is_regular_file() && path.filename().string().front() != '.' &&
                    path.extension() != ".md") {
                    settings.Reset(); // empty at each input, as in the fuzz target
                    std::ifstream in(path, std::ios::binary);
                    const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
                    EXPECT_EQ(check(bytes.data(), bytes.size()), "") << path;
                    ++replayed;
                }
            }
        }
        EXPECT_GT(replayed, 0) << target;
    }
}

// The checks themselves catch what they look for: an input the fuzz target must not accept
// (built here, not from the library) is reported.
TEST(KesFuzzReplayTest, TheUtf8CheckRefusesWhatIsNotUtf8) {
    EXPECT_TRUE(kes_fuzz::IsValidUtf8("plain é 漢 😀"));
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"}) {
        EXPECT_FALSE(kes_fuzz::IsValidUtf8(bad)) << bad;
    }
}

} // namespace
