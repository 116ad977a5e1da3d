// The monkey over the pocketing panel and over the test panel of every configuration the
// pocketing panel lacks, and its shrinker on a host that breaks a check on purpose.
//
// A failure prints the session script that replays it; save it and run kes-panel on it (the
// pocketing panel), or Replay() it on the test panel of its seed.
#include "tools/KesPanelMonkey.h"
#include "KesPocketingPanel.h"
#include "framework/KesMfgAttNotifyModif.h"
#include "robustness/KesMonkeyTestPanel.h"
#include "robustness/KesScopedSettingsFolder.h"
#include "tools/KesPanelDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

class KesPanelMonkeyTest : public ::testing::Test {
protected:
    KesPanelMonkey Monkey(KesPanelMonkey::Builder build) {
        KesPanelMonkey monkey(std::move(build));
        monkey.SetReset([this] { settings.Reset(); });
        return monkey;
    }

    KesScopedSettingsFolder settings;
};

// Two runs over the pocketing panel, then the test panel in sixteen configurations.
TEST_F(KesPanelMonkeyTest, EveryCheckHoldsAfterEveryStep) {
    for (uint32_t run = 0; run < 18; ++run) {
        const bool pocketing = run < 2;
        const uint32_t seed = pocketing ? run + 1 : run - 1;
        KesPanelMonkey monkey = Monkey([=](KesDlgTestFrame& frame) -> std::shared_ptr<void> {
            return pocketing ? std::make_shared<KesPocketingPanel>(frame)
                             : KesBuildMonkeyTestPanel(frame, seed);
        });
        KesSeededSource source(seed);
        const KesPanelMonkey::Result result = monkey.Run(source, 3000);
        const std::string panel = pocketing ? "pocketing panel" : "test panel";
        EXPECT_EQ(result.steps, 3000) << panel << ", seed " << seed;
        EXPECT_EQ(result.failedLines, 0) << panel << ", seed " << seed;
        ASSERT_FALSE(result.failure) << panel << ", seed " << seed << ":\n"
                                     << KesPanelMonkey::Script(*result.failure, panel);
    }
}

// A host that makes Tool_Number read-only when it notifies, then turns its spinner sensitive
// again behind the attribute's back: the monkey finds it and shrinks it to a step or two, and the
// script replays to the same broken check, every line but the last carried out.
std::shared_ptr<void> BrokenHost(KesDlgTestFrame& frame) {
    static KesMfgAttNotifyModif modified(-1);
    std::shared_ptr<void> kept = KesBuildMonkeyTestPanel(frame, 1);
    auto* tool = static_cast<KesMfgAttInt*>(frame.GetChildFromChildNumber(0));
    frame.AddCallback(tool, &modified, [tool](KesCommand*, KesNotification*, void**) {
        tool->SetEditMode(0);
        tool->GetSpinnerWidget()->SetSensitivity(kes::kSensitive);
    });
    return kept;
}

TEST_F(KesPanelMonkeyTest, AFailureShrinksToAShortScriptThatReplaysIt) {
    KesPanelMonkey monkey = Monkey(BrokenHost);
    KesSeededSource source(4);
    const KesPanelMonkey::Result result = monkey.Run(source, 5000);
    ASSERT_TRUE(result.failure);
    const KesPanelMonkey::Failure& failure = *result.failure;
    EXPECT_EQ(failure.fault.Text(), "Tool_Number: a read-only attribute has a sensitive child "
                                    "(spinneratt)");
    EXPECT_LE(failure.shrunk.size(), 2u);
    EXPECT_EQ(monkey.Replay(failure.shrunk).Text(), failure.fault.Text());

    // The script through the driver, as kes-panel FILE runs it.
    KesDlgTestFrame frame;
    BrokenHost(frame);
    std::ostringstream out, err;
    KesPanelDriver driver(frame, out, err);
    std::istringstream script(KesPanelMonkey::Script(failure, "test"));
    EXPECT_EQ(driver.RunSession(script, false), 2);
    EXPECT_EQ(err.str(), "line " + std::to_string(failure.shrunk.size() + 5) +
                             ": check failed: " + failure.fault.Text() + "\n");
}

// A run stopped before a step: the steps done, told to the progress hook one by one; the same
// seed and that many steps replay them (a failure one step later is the same failure); a stop
// while shrinking keeps the steps found so far, which still break the check.
TEST_F(KesPanelMonkeyTest, AStoppedRunSaysHowManyStepsItDid) {
    KesPanelMonkey full = Monkey(BrokenHost);
    KesSeededSource fullSource(4);
    const KesPanelMonkey::Result failing = full.Run(fullSource, 5000, false);
    ASSERT_TRUE(failing.failure);
    const int failingStep = failing.failure->step;
    ASSERT_GT(failingStep, 3);

    struct Row {
        const char* name;
        int stopBefore; // the stop hook answers true before this step
        bool interrupted;
        int steps;
    };
    const Row rows[] = {
        {"stopped before the first step", 1, true, 0},
        {"stopped before the third step", 3, true, 2},
        {"stopped just before the failing step", failingStep, true, failingStep - 1},
        {"stopped after the failing step: the failure stands", failingStep + 1, false, failingStep},
    };
    for (const Row& row : rows) {
        KesPanelMonkey monkey = Monkey(BrokenHost);
        std::vector<int> told;
        monkey.SetProgress([&told](int done) { told.push_back(done); });
        monkey.SetStop([&told, &row] { return told.back() + 1 == row.stopBefore; });
        KesSeededSource source(4);
        const KesPanelMonkey::Result result = monkey.Run(source, 5000, false);
        EXPECT_EQ(result.interrupted, row.interrupted) << row.name;
        EXPECT_EQ(result.steps, row.steps) << row.name;
        EXPECT_EQ(result.failure.has_value(), !row.interrupted) << row.name;
        std::vector<int> expected;
        for (int done = 0; done < std::min(row.stopBefore, failingStep); ++done) {
            expected.push_back(done);
        }
        expected.push_back(result.steps); // once more at the end
        EXPECT_EQ(told, expected) << row.name;
    }

    // A stop while shrinking: no replay is made, the steps run are the script and break it.
    KesPanelMonkey monkey = Monkey(BrokenHost);
    int asked = 0;
    monkey.SetStop([&] { return ++asked > failingStep; });
    KesSeededSource source(4);
    const KesPanelMonkey::Result stopped = monkey.Run(source, 5000, true);
    ASSERT_TRUE(stopped.failure);
    EXPECT_EQ(stopped.failure->shrunk, failing.failure->shrunk);
    EXPECT_EQ(asked, failingStep + 1) << "the shrinking stopped at once";
    EXPECT_EQ(monkey.Replay(stopped.failure->shrunk).Text(), failing.failure->fault.Text());
}

} // namespace
