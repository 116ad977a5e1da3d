// Randomised sessions over a panel of every attribute class: from a fixed list of seeds, random
// user actions on any widget (hidden and insensitive ones included) and caller calls with
// hostile vectors, with every check of KesRandomSession after every step.
//
// Replaying a failure: the message names the seed and the step. Run only that seed, printing
// every step, with
//   KES_RANDOM_SESSION_SEED=<seed> KES_RANDOM_SESSION_VERBOSE=1 kes_tests_robustness
//   --gtest_filter='KesRandomSessionTest.*'
// KES_RANDOM_SESSION_STEPS=<n> changes the number of steps per seed.
#include "robustness/KesRandomSession.h"
#include "robustness/KesScopedSettingsFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <optional>

namespace {

using kes_robust::KesRandomSession;
using kes_robust::KesSeededSource;

constexpr uint32_t kSeeds[] = {1, 2, 3, 5, 8, 13, 21, 34, 55, 89, 144, 233, 377, 610, 987, 1597};
constexpr int kStepsPerSeed = 5000;
constexpr size_t kStepsShownOnFailure = 12;

std::optional<long> EnvironmentNumber(const char* name) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    return std::strtol(text, nullptr, 10);
}

class KesRandomSessionTest : public ::testing::Test {
protected:
    // Every session starts with an empty settings folder of its own, so that a seed replays
    // alone as it ran among the others.
    void FreshSettings(uint32_t seed) { settings_.Use("settings-" + std::to_string(seed)); }

    // Runs one seed; returns an empty text, or the failure with the steps that led to it.
    std::string RunSeed(uint32_t seed, int steps, bool verbose) {
        FreshSettings(seed);
        KesSeededSource source(seed);
        KesRandomSession session(source);
        std::deque<std::string> recent;
        const auto failure = [&](int step, const std::string& fault) {
            std::string message = "seed " + std::to_string(seed) + ", step " +
                                  std::to_string(step) + ": " + fault + "\nlast steps:\n";
            for (const std::string& line : recent) {
                message += "  " + line + "\n";
            }
            return message;
        };
        std::string fault = session.Check();
        if (!fault.empty()) {
            return failure(0, "after building the panel: " + fault);
        }
        for (int step = 1; step <= steps; ++step) {
            const KesRandomSession::Outcome outcome = session.Step();
            recent.push_back(std::to_string(step) + " " + outcome.description);
            if (recent.size() > kStepsShownOnFailure) {
                recent.pop_front();
            }
            if (verbose) {
                std::fprintf(stderr, "step %d: %s\n", step, outcome.description.c_str());
            }
            fault = outcome.fault.empty() ? session.Check() : outcome.fault;
            if (!fault.empty()) {
                return failure(step, fault);
            }
        }
        return std::string();
    }

private:
    KesScopedSettingsFolder settings_;
};

TEST_F(KesRandomSessionTest, EveryCheckHoldsAfterEveryStepOfEverySeed) {
    const int steps =
        static_cast<int>(EnvironmentNumber("KES_RANDOM_SESSION_STEPS").value_or(kStepsPerSeed));
    const bool verbose = EnvironmentNumber("KES_RANDOM_SESSION_VERBOSE").value_or(0) != 0;
    std::vector<uint32_t> seeds(std::begin(kSeeds), std::end(kSeeds));
    if (const std::optional<long> only = EnvironmentNumber("KES_RANDOM_SESSION_SEED")) {
        seeds = {static_cast<uint32_t>(*only)};
    }
    for (uint32_t seed : seeds) {
        const std::string failure = RunSeed(seed, steps, verbose);
        ASSERT_TRUE(failure.empty()) << failure;
    }
}

// The same seed gives the same session: the steps and the values at the end are equal.
TEST_F(KesRandomSessionTest, ASeedReplaysTheSameSession) {
    const auto run = [this](uint32_t seed) {
        FreshSettings(seed);
        KesSeededSource source(seed);
        KesRandomSession session(source);
        std::string transcript;
        for (int step = 0; step < 300; ++step) {
            transcript += session.Step().description + "\n";
        }
        KesMfgValueRecords values;
        for (const KesRandomSession::Member& member : session.Members()) {
            values.GetAttValue(*member.attribute);
        }
        return transcript + values.FormatTable();
    };
    EXPECT_EQ(run(7), run(7));
}

} // namespace
