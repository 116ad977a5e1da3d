// Files written whole or not at all: a write that fails keeps the old file, says why and leaves
// no temporary file; one that succeeds replaces the file and keeps its permissions.
#include "tools/KesAtomicFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <set>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Limits the size of the files the process writes (a full disk, for root too), for its lifetime.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of the process
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

class KesAtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kes-atomic-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ofstream(folder_ / "values.json") << "old";
        fs::create_directories(folder_ / "folder");
    }
    void TearDown() override { fs::remove_all(folder_); }

    // The names in the test folder, sorted: no temporary file may stay behind.
    std::string Names() const {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
            names.insert(" " + entry.path().filename().string());
        }
        const std::string joined = std::accumulate(names.begin(), names.end(), std::string());
        return joined.empty() ? joined : joined.substr(1);
    }

    fs::path folder_;
};

TEST_F(KesAtomicFileTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    struct Row {
        const char* target; // in the test folder
        size_t sizeLimit;   // bytes a file may have; 0 for no limit
        const char* reason; // in the answer
    };
    const std::string big(64 * 1024, 'x');
    const Row rows[] = {
        {"folder", 0, "a folder has that name"},
        {"no-such-folder/values.json", 0, "No such file or directory"},
        {"values.json", 1024, "File too large"}, // the disk fills halfway through the text
    };
    for (const Row& row : rows) {
        const fs::path target = folder_ / row.target;
        std::string answer;
        {
            std::optional<FileSizeLimit> limit;
            if (row.sizeLimit != 0) {
                limit.emplace(row.sizeLimit);
            }
            answer = KesWriteFileAtomically(target.string(), big);
        }
        EXPECT_NE(answer.find(row.reason), std::string::npos) << row.target << ": " << answer;
        EXPECT_EQ(Read(folder_ / "values.json"), "old") << row.target;
        EXPECT_TRUE(fs::is_directory(folder_ / "folder")) << row.target;
        EXPECT_EQ(Names(), "folder values.json") << row.target;
    }
}

TEST_F(KesAtomicFileTest, AWriteReplacesTheWholeFileAndKeepsItsPermissions) {
    const fs::path target = folder_ / "values.json";
    fs::permissions(target, fs::perms(0640));
    EXPECT_EQ(KesWriteFileAtomically(target.string(), "new text\n"), "");
    EXPECT_EQ(Read(target), "new text\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    // A new file in the current folder, named without a folder.
    const fs::path here = fs::current_path();
    fs::current_path(folder_);
    EXPECT_EQ(KesWriteFileAtomically("fresh.json", ""), "");
    fs::current_path(here);
    EXPECT_EQ(Read(folder_ / "fresh.json"), "");
    EXPECT_EQ(Names(), "folder fresh.json values.json");
}

} // namespace
