// The settings store under a crash: a child process writes settings in a loop and is killed with
// SIGKILL at random moments (from a fixed seed). After each kill the setting file is complete (it
// ends with a line end and every line reads), never empty, and every value written before
// survives: the settings written before the child started, and the child's last confirmed write.
#include "platform/KesMfgSetting.h"
#include "robustness/KesScopedSettingsFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <poll.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kFile = "MFGPROG";

// Every line of the file is a comment or a "key=value" setting, and the file ends with a line
// end: no torn write. Returns what is wrong, empty when nothing is.
std::string CheckComplete(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string content = buffer.str();
    if (content.empty() || content.back() != '\n') {
        return "the setting file is missing, empty or ends in the middle of a line";
    }
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.front() != '#' && line.find('=') == std::string::npos) {
            return "the line \"" + line + "\" is not a setting";
        }
    }
    return "";
}

// The child: writes the counter from `first` on, then the neighbour of a key that changes at each
// write, and reports each write done through `report`; it runs until killed.
[[noreturn]] void WriteUntilKilled(int first, int report) {
    for (int counter = first;; ++counter) {
        const double value = counter;
        const double other = counter * 0.5;
        const std::string key = "Churn." + std::to_string(counter % 7);
        if (KesMfgSetting::WriteSetting("Counter", &value, kFile) &&
            KesMfgSetting::WriteSetting(key.c_str(), &other, kFile) &&
            ::write(report, &counter, sizeof counter) != sizeof counter) {
            ::_exit(3);
        }
    }
}

double Read(const std::string& key) {
    double value = -1.0;
    EXPECT_TRUE(KesMfgSetting::ReadSetting(key.c_str(), &value, kFile)) << key;
    return value;
}

std::string Survivor(int i) {
    return "KesMfgAttDoubleParam.Survivor " + std::to_string(i) + ".step";
}

TEST(KesSettingsCrashTest, AWriterKilledAtAnyMomentLeavesACompleteFileWithEveryValue) {
    const KesScopedSettingsFolder settings;
    for (int i = 0; i < 40; ++i) {
        const double value = 0.125 * i + 1.0 / 3.0;
        ASSERT_TRUE(KesMfgSetting::WriteSetting(Survivor(i).c_str(), &value, kFile));
    }
    const std::string path = KesMfgSetting::GetSettingPath(kFile);
    std::mt19937 random(20261206);
    int confirmed = -1;
    for (int kill = 1; kill <= 8; ++kill) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ends[0]);
            WriteUntilKilled(confirmed + 1, ends[1]);
        }
        ASSERT_GT(child, 0) << "fork";
        ::close(ends[1]);
        // After a first confirmed write, a moment anywhere in the next writes: each write
        // rewrites and flushes the whole file.
        pollfd firstWrite{ends[0], POLLIN, 0};
        const bool started = ::poll(&firstWrite, 1, 10000) == 1;
        ::usleep(static_cast<useconds_t>(random() % 20000));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";
        for (int counter = 0; ::read(ends[0], &counter, sizeof counter) == sizeof counter;) {
            confirmed = counter;
        }
        ::close(ends[0]);
        ASSERT_TRUE(started) << "kill " << kill << ": the writer confirmed no write";

        ASSERT_EQ(CheckComplete(path), "") << "kill " << kill;
        for (int i = 0; i < 40; ++i) {
            EXPECT_EQ(Read(Survivor(i)), 0.125 * i + 1.0 / 3.0) << "kill " << kill;
        }
        // The last confirmed write is there; the one under way may be there too.
        const double counter = Read("Counter");
        EXPECT_GE(counter, confirmed) << "kill " << kill;
        EXPECT_LE(counter, confirmed + 1) << "kill " << kill;
        EXPECT_EQ(Read("Churn." + std::to_string(confirmed % 7)), confirmed * 0.5) << kill;
        confirmed = static_cast<int>(counter);
    }

    // The next write clears the temporary files the killed writers left.
    const double last = 1.5;
    ASSERT_TRUE(KesMfgSetting::WriteSetting("Counter", &last, kFile));
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) {
        EXPECT_EQ(entry.path().filename().string().rfind(".MFGPROG.tmp.", 0), std::string::npos)
            << entry.path();
    }
    EXPECT_EQ(CheckComplete(path), "");
}

} // namespace
