// The settings store: where the file lives, exact round trips, odd keys, atomic replacement,
// concurrent writers in two processes, damaged and unreadable files.
#include "KesParamTestSupport.h"

#include <bit>
#include <cfloat>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using kes_test::ParamTestEnvironment;
using kes_test::ScopedEnvironment;

constexpr const char* kFile = "MFGPROG";

class KesMfgSettingTest : public ParamTestEnvironment {
protected:
    std::filesystem::path FilePath() const { return settingsDir_ / kFile; }
    std::string FileText() const {
        std::ifstream in(FilePath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static bool Write(const KesUnicodeString& key, double value) {
        return KesMfgSetting::WriteSetting(key, &value, kFile);
    }
    // The stored value, or -777 when none is read.
    static double Read(const KesUnicodeString& key) {
        double value = -777.0;
        KesMfgSetting::ReadSetting(key, &value, kFile);
        return value;
    }
};

TEST_F(KesMfgSettingTest, TheFolderComesFromTheEnvironment) {
    double untouched = -777.0;
    EXPECT_FALSE(KesMfgSetting::ReadSetting("k", &untouched, kFile)); // no file yet
    EXPECT_EQ(untouched, -777.0);
    EXPECT_FALSE(std::filesystem::exists(settingsDir_)); // reading creates nothing
    ASSERT_TRUE(Write("k", 1.5));
    struct stat info {};
    ASSERT_EQ(::stat(settingsDir_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(std::filesystem::is_regular_file(FilePath()));

    ScopedEnvironment noChoice("KES_SETTINGS_DIR", std::nullopt);
    ASSERT_TRUE(Write("k", 2.0));
    EXPECT_TRUE(std::filesystem::exists(root_ / "xdg" / "kes" / kFile));
    ScopedEnvironment relative("XDG_CONFIG_HOME", "relative/folder"); // not absolute: ignored
    EXPECT_EQ(KesMfgSetting::GetSettingsFolder(), (root_ / "home" / ".config" / "kes").string());
    ScopedEnvironment noHome("HOME", std::nullopt);
    EXPECT_FALSE(Write("k", 3.0));
    EXPECT_EQ(Read("k"), -777.0);
}

TEST_F(KesMfgSettingTest, RefusedArgumentsStoreNothing) {
    double value = 1.0;
    EXPECT_FALSE(KesMfgSetting::WriteSetting("", &value, kFile));
    EXPECT_FALSE(KesMfgSetting::WriteSetting("k", nullptr, kFile));
    EXPECT_FALSE(KesMfgSetting::ReadSetting("k", nullptr, kFile));
    for (const char* name : {"", ".MFGPROG", "../MFGPROG", "sub/MFGPROG"}) {
        EXPECT_FALSE(KesMfgSetting::WriteSetting("k", &value, name)) << name;
    }
    for (double bad : {INFINITY, -INFINITY, NAN}) {
        EXPECT_FALSE(Write("k", bad));
    }
    EXPECT_FALSE(std::filesystem::exists(settingsDir_));
}

TEST_F(KesMfgSettingTest, RealsAndOddKeysRoundTripExactly) {
    const std::vector<double> values = {
        7.0, 0.1, 1.0 / 3.0, -2.5e-300, 4.9406564584124654e-324, DBL_MAX, -0.0, 123456789.12345679};
    const std::vector<std::string> keys = {"AZaz09._-",
                                           "with blank",
                                           "a=b",
                                           "a%3Db",
                                           "line\nend\r",
                                           "#comment-like",
                                           "caf\xC3\xA9 \xE6\x97\xA5",
                                           std::string(4000, 'k') + std::string("\0", 1)};
    for (size_t i = 0; i < keys.size(); ++i) {
        ASSERT_TRUE(Write(KesUnicodeString(keys[i]), 99.0));
        ASSERT_TRUE(Write(KesUnicodeString(keys[i]), values[i])); // the last write wins
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(Read(KesUnicodeString(keys[i]))),
                  std::bit_cast<std::uint64_t>(values[i]))
            << i;
    }
    // One heading line and one line per key: no key broke a line or shared one.
    const std::string text = FileText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(keys.size()) + 1);
    EXPECT_NE(text.find("\nAZaz09._-=7\n"), std::string::npos); // plain key bytes stay as they are
    EXPECT_EQ(Read("a"), -777.0);
}

TEST_F(KesMfgSettingTest, ATemporaryFileLeftByACrashIsIgnoredThenRemoved) {
    ASSERT_TRUE(Write("step", 0.5));
    // A write that died before its rename left a half-written temporary file.
    const std::filesystem::path leftover = settingsDir_ / ".MFGPROG.tmp.Ab12Cd";
    std::ofstream(leftover) << "step=99\nother=";
    EXPECT_EQ(Read("step"), 0.5);
    ASSERT_TRUE(Write("other", 7.0));
    EXPECT_FALSE(std::filesystem::exists(leftover));
    EXPECT_EQ(Read("step"), 0.5);
    EXPECT_EQ(Read("other"), 7.0);
}

TEST_F(KesMfgSettingTest, TwoProcessesWritingDifferentKeysBothKeepThem) {
    constexpr int kWrites = 40;
    const auto key = [](int writer, int i) {
        return "writer" + std::to_string(writer) + "." + std::to_string(i);
    };
    std::vector<pid_t> children;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int i = 0; i < kWrites; ++i) {
                ok = Write(key(writer, i), i + 0.5 * writer) && ok;
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int writer = 0; writer < 2; ++writer) {
        for (int i = 0; i < kWrites; ++i) {
            EXPECT_EQ(Read(key(writer, i)), i + 0.5 * writer) << key(writer, i);
        }
    }
}

TEST_F(KesMfgSettingTest, DamagedLinesLeaveTheDefaultAndTheRestIsKept) {
    static constexpr char kBinary[] = "\x01\xFF binary\nnul\0inside=1\ngood=2.5\n";
    std::filesystem::create_directories(settingsDir_);
    std::ofstream(FilePath(), std::ios::binary)
        << std::string(kBinary, sizeof kBinary - 1)
        << "bad=abc\nhuge=1e999\nnan=nan\n%ZZ=1\n%4=1\n=5\nnoequal\nspaced= 3\nlower%2a=3\n"
        << "torn=4"; // no line end: the tail of an interrupted write
    EXPECT_EQ(Read("good"), 2.5);
    for (const char* key : {"bad", "huge", "nan", "", "noequal", "spaced", "lower*", "torn"}) {
        EXPECT_EQ(Read(key), -777.0) << key;
    }
    ASSERT_TRUE(Write("new", 1.0)); // keeps what it could read, drops the torn tail
    EXPECT_EQ(Read("good"), 2.5);
    EXPECT_NE(FileText().find("bad=abc\n"), std::string::npos);
    EXPECT_EQ(FileText().find("torn=4"), std::string::npos);
}

TEST_F(KesMfgSettingTest, AFileThatCannotBeReadIsNeitherReadNorReplaced) {
    std::filesystem::create_directories(FilePath()); // a folder where the file should be
    EXPECT_EQ(Read("step"), -777.0);
    EXPECT_FALSE(Write("step", 1.0));
    EXPECT_TRUE(std::filesystem::is_directory(FilePath()));
}

} // namespace
