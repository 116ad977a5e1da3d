// The progress line of a long run driven by a clock of the test's own, and Ctrl+C caught as a
// request to stop.
#include "tools/KesRunProgress.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <vector>

namespace {

using std::chrono::milliseconds;

struct Tick {
    int at;         // milliseconds since the run started
    long long done; // steps done then
};

struct ProgressCase {
    const char* name;
    bool terminal;
    std::vector<Tick> ticks;
    bool finish;
    std::string expected; // all that reaches the stream
};

const std::string kLine1000 = "monkey: 1000 of 2000 steps (50%), 1000 steps/s, seed 7";
const std::string kLine1100 = "monkey: 1100 of 2000 steps (55%), 550 steps/s, seed 7";

const ProgressCase kProgressCases[] = {
    {"a run shorter than the delay shows nothing",
     true,
     {{0, 0}, {500, 400}, {999, 999}},
     true,
     ""},
    {"after the delay: steps of those asked, steps per second, seed",
     true,
     {{1000, 1000}},
     false,
     "\r" + kLine1000},
    {"no rewrite before the refresh interval",
     true,
     {{1000, 1000}, {1249, 1100}},
     false,
     "\r" + kLine1000},
    {"a shorter line covers the end of the longer with blanks",
     true,
     {{1000, 1000}, {2000, 1100}},
     false,
     "\r" + kLine1000 + "\r" + kLine1100 + " "},
    {"finishing wipes the line",
     true,
     {{1000, 1000}},
     true,
     "\r" + kLine1000 + "\r" + std::string(kLine1000.size(), ' ') + "\r"},
    {"finishing a run that showed nothing writes nothing", true, {{10, 5}}, true, ""},
    {"not a terminal: nothing at all", false, {{1000, 1000}, {5000, 2000}}, true, ""},
};

TEST(KesRunProgressTest, WhatReachesTheTerminal) {
    for (const ProgressCase& row : kProgressCases) {
        std::chrono::steady_clock::time_point now{};
        std::ostringstream out;
        KesRunProgress progress(out, row.terminal, "monkey", 2000, 7, [&] { return now; });
        const std::chrono::steady_clock::time_point start = now;
        for (const Tick& tick : row.ticks) {
            now = start + milliseconds(tick.at);
            progress.Update(tick.done);
        }
        if (row.finish) {
            progress.Finish();
            now += milliseconds(5000);
            progress.Update(2000); // nothing after the end
        }
        EXPECT_EQ(out.str(), row.expected) << row.name;
    }
}

TEST(KesRunProgressTest, DestroyingTheReporterWipesItsLine) {
    std::chrono::steady_clock::time_point now{};
    std::ostringstream out;
    {
        KesRunProgress progress(out, true, "monkey", 2000, 7, [&] { return now; });
        now += milliseconds(1000);
        progress.Update(1000);
    }
    EXPECT_EQ(out.str(), "\r" + kLine1000 + "\r" + std::string(kLine1000.size(), ' ') + "\r");
}

TEST(KesRunProgressTest, TheLineOfARunWithoutAnEnd) {
    std::ostringstream out;
    const KesRunProgress progress(out, true, "monkey", 0, 3);
    EXPECT_EQ(progress.Line(0, milliseconds(0)), "monkey: 0 of 0 steps, 0 steps/s, seed 3");
}

// ---------------------------------------------------------------------------------------------
// Ctrl+C
// ---------------------------------------------------------------------------------------------

volatile std::sig_atomic_t gPreviousHandlerCalls = 0;
extern "C" void CountSignal(int) {
    gPreviousHandlerCalls = gPreviousHandlerCalls + 1;
}

TEST(KesInterruptCatcherTest, SigintOnlyRaisesTheFlagWhileTheCatcherLives) {
    const auto before = std::signal(SIGINT, &CountSignal);
    {
        KesInterruptCatcher::Request(); // a request from before the catcher does not count
        const KesInterruptCatcher catcher;
        EXPECT_FALSE(KesInterruptCatcher::Requested());
        std::raise(SIGINT); // the process lives on, the handler before it is not called
        EXPECT_TRUE(KesInterruptCatcher::Requested());
        EXPECT_EQ(gPreviousHandlerCalls, 0);
    }
    std::raise(SIGINT);
    EXPECT_EQ(gPreviousHandlerCalls, 1) << "the handler before the catcher is back";
    std::signal(SIGINT, before);
}

} // namespace
