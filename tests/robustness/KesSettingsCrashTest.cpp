// The settings store under a crash: a child process writes settings in a loop and is killed with
// SIGKILL at random moments (from a fixed seed). After each kill the setting file is complete (it
// ends with a line end and every line reads), never empty, and every value written before
// survives: the settings written before the child started, and the child's last confirmed write.
#include "platform/KesMfgSetting.h"
#include "robustness/KesScopedSettingsFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kFile = "MFGPROG";
constexpr int kKills = 8;
constexpr int kSurvivors = 40;

std::string SurvivorKey(int i) {
    return "KesMfgAttDoubleParam.Survivor " + std::to_string(i) + ".step";
}
double SurvivorValue(int i) {
    return 0.125 * i + 1.0 / 3.0;
}

class KesSettingsCrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kSurvivors; ++i) {
            const double value = SurvivorValue(i);
            ASSERT_TRUE(KesMfgSetting::WriteSetting(SurvivorKey(i).c_str(), &value, kFile));
        }
    }

    // Starts a child that writes the counter from `first` on, then the neighbours of a key that
    // changes at each write, and reports each write done through the pipe; it runs until killed.
    pid_t StartWriter(int first, int& readEnd) {
        int ends[2];
        if (::pipe(ends) != 0) {
            return -1;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ends[0]);
            for (int counter = first;; ++counter) {
                const double value = counter;
                const double other = counter * 0.5;
                const std::string key = "Churn." + std::to_string(counter % 7);
                if (KesMfgSetting::WriteSetting("Counter", &value, kFile) &&
                    KesMfgSetting::WriteSetting(key.c_str(), &other, kFile)) {
                    if (::write(ends[1], &counter, sizeof counter) != sizeof counter) {
                        ::_exit(3);
                    }
                }
            }
        }
        ::close(ends[1]);
        readEnd = ends[0];
        return child;
    }

    // The last counter the child confirmed, reading the pipe until it closes; -1 when none.
    static int LastConfirmed(int readEnd, int previous) {
        int last = previous;
        int counter = 0;
        while (::read(readEnd, &counter, sizeof counter) == sizeof counter) {
            last = counter;
        }
        return last;
    }

    // Waits until the child confirmed a first write (or a few seconds passed).
    static int FirstConfirmed(int readEnd) {
        pollfd wait{readEnd, POLLIN, 0};
        if (::poll(&wait, 1, 10000) != 1) {
            return -1;
        }
        int counter = -1;
        return ::read(readEnd, &counter, sizeof counter) == sizeof counter ? counter : -1;
    }

    // Every line of the file is a comment or a "key=value" setting, and the file ends with a
    // line end: no torn write.
    static std::string CheckComplete(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return "the setting file is missing";
        }
        std::stringstream buffer;
        buffer << in.rdbuf();
        const std::string content = buffer.str();
        if (content.empty()) {
            return "the setting file is empty";
        }
        if (content.back() != '\n') {
            return "the setting file ends in the middle of a line";
        }
        std::istringstream lines(content);
        for (std::string line; std::getline(lines, line);) {
            if (line.empty() || line.front() == '#') {
                continue;
            }
            if (line.find('=') == std::string::npos) {
                return "the line \"" + line + "\" is not a setting";
            }
        }
        return std::string();
    }

    KesScopedSettingsFolder settings_;
};

TEST_F(KesSettingsCrashTest, AWriterKilledAtAnyMomentLeavesACompleteFileWithEveryValue) {
    const std::string path = KesMfgSetting::GetSettingPath(kFile);
    std::mt19937 random(20261206);
    int confirmed = -1;
    for (int kill = 1; kill <= kKills; ++kill) {
        int readEnd = -1;
        const pid_t child = StartWriter(confirmed + 1, readEnd);
        ASSERT_GT(child, 0) << "fork";
        const int first = FirstConfirmed(readEnd);
        // A moment anywhere in the next writes: each write rewrites and flushes the whole file.
        ::usleep(static_cast<useconds_t>(random() % 20000));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";
        confirmed = LastConfirmed(readEnd, first >= 0 ? first : confirmed);
        ::close(readEnd);
        ASSERT_GE(first, 0) << "kill " << kill << ": the writer confirmed no write";

        const std::string fault = CheckComplete(path);
        ASSERT_TRUE(fault.empty()) << "kill " << kill << ": " << fault;
        for (int i = 0; i < kSurvivors; ++i) {
            double value = -1.0;
            ASSERT_TRUE(KesMfgSetting::ReadSetting(SurvivorKey(i).c_str(), &value, kFile));
            EXPECT_EQ(value, SurvivorValue(i)) << "kill " << kill;
        }
        // The last confirmed write is there; the one under way may be there too.
        double counter = -1.0;
        ASSERT_TRUE(KesMfgSetting::ReadSetting("Counter", &counter, kFile));
        EXPECT_GE(counter, confirmed) << "kill " << kill;
        EXPECT_LE(counter, confirmed + 1) << "kill " << kill;
        double churn = -1.0;
        ASSERT_TRUE(KesMfgSetting::ReadSetting(("Churn." + std::to_string(confirmed % 7)).c_str(),
                                               &churn, kFile));
        EXPECT_EQ(churn, confirmed * 0.5) << "kill " << kill;
        confirmed = static_cast<int>(counter);
    }

    // The next write clears the temporary files the killed writers left.
    const double last = 1.5;
    ASSERT_TRUE(KesMfgSetting::WriteSetting("Counter", &last, kFile));
    for (const auto& entry : std::filesystem::directory_iterator(settings_.Root() / "settings")) {
        EXPECT_EQ(entry.path().filename().string().rfind(".MFGPROG.tmp.", 0), std::string::npos)
            << entry.path();
    }
    EXPECT_TRUE(CheckComplete(path).empty());
}

} // namespace
