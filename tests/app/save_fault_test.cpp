// SPDX-License-Identifier: MIT
// Saving "Kestrow.dat" when the disk or the folder does not cooperate: each
// fault must be told clearly and must leave the previous file whole.
//
// Root ignores permissions, so the permission cases act in a forked child
// that has become the unprivileged user 65534; run by anyone else, they are
// skipped. Children report through their exit code and send the error text
// through a pipe.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/settings_file.h"

namespace kestrow {
namespace {

namespace fs = std::filesystem;

// Exit codes of the children.
constexpr int kExpectedError = 0;
constexpr int kNoError = 1;
constexpr int kOtherError = 2;
constexpr int kCannotDrop = 3;
constexpr int kWrongKind = 4;
constexpr int kSetupFailed = 5;
constexpr int kOldFileChanged = 6;
constexpr int kLeftovers = 7;
constexpr int kNotAvailable = 77;

constexpr uid_t kNobody = 65534;
constexpr char kNeedsRoot[] = "only root can act as user 65534";

const std::string kOld = FullRecord("48,85", "2,35", 600, 975);
const std::string kNew = FullRecord("-33,8688", "151,2093", -90, 40000);

struct ChildResult {
    int code = -1;
    std::string message;
};

// Runs `work` in a forked child; `work` returns the exit code and may fill
// the message that the parent receives.
ChildResult RunInChild(const std::function<int(std::string&)>& work) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::string message;
        int code = kOtherError;
        try {
            code = work(message);
        } catch (...) {
            message = "unexpected exception";
        }
        ssize_t ignored = ::write(pipeFds[1], message.data(), message.size());
        (void)ignored;
        ::_exit(code);
    }
    ::close(pipeFds[1]);
    ChildResult result;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        result.message.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        result.code = WEXITSTATUS(status);
    }
    return result;
}

// Also checks that the file can still be reached, so that a test folder
// hidden from the user cannot pass for the fault under test.
bool DropToNobody(const fs::path& reachable) {
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 &&
           ::geteuid() == kNobody && ::access(reachable.c_str(), F_OK) == 0;
}

// A save that must fail with SettingsSaveError.
int SaveExpectingFailure(const fs::path& path, std::string& message) {
    try {
        SaveSettingsFile(path, kNew);
        return kNoError;
    } catch (const SettingsSaveError& error) {
        message = error.what();
        return kExpectedError;
    }
}

std::string SaveFailure(const fs::path& path, const std::string& why) {
    return "The place could not be saved to \"" + path.string() + "\": " + why;
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class SaveFaultTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::path(testing::TempDir()) / "kestrow-fault-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        ASSERT_EQ(::chmod(folder_.c_str(), 0755), 0);  // reachable, not writable, for 65534
        path_ = folder_ / kSettingsFileName;
        SaveSettingsFile(path_, kOld);
        ASSERT_EQ(Contents(path_), kOld);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void ExpectOldFileWhole() {
        EXPECT_EQ(Contents(path_), kOld);
        EXPECT_EQ(Names(folder_), std::vector<std::string>{"Kestrow.dat"});
    }

    fs::path folder_;
    fs::path path_;
};

// Saved under its plain name, as the window does: the message gives the full
// path, so that the user knows which folder is meant.
TEST_F(SaveFaultTest, FolderWithoutWriteAccess) {
    if (::geteuid() != 0) GTEST_SKIP() << kNeedsRoot;
    const ChildResult result = RunInChild([&](std::string& message) {
        if (!DropToNobody(path_) || ::chdir(folder_.c_str()) != 0) return kCannotDrop;
        return SaveExpectingFailure(kSettingsFileName, message);
    });
    ASSERT_EQ(result.code, kExpectedError) << result.message;
    EXPECT_EQ(result.message, SaveFailure(path_, "Permission denied"));
    ExpectOldFileWhole();
}

// The folder is the user's, so the rename alone would go through.
TEST_F(SaveFaultTest, WriteProtectedFileOfTheUser) {
    if (::geteuid() != 0) GTEST_SKIP() << kNeedsRoot;
    ASSERT_EQ(::chown(folder_.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chown(path_.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
    const ChildResult result = RunInChild([&](std::string& message) {
        return DropToNobody(path_) ? SaveExpectingFailure(path_, message) : kCannotDrop;
    });
    ASSERT_EQ(result.code, kExpectedError) << result.message;
    EXPECT_EQ(result.message, SaveFailure(path_, "Permission denied"));
    ExpectOldFileWhole();
}

TEST_F(SaveFaultTest, FileWithoutReadPermission) {
    if (::geteuid() != 0) GTEST_SKIP() << kNeedsRoot;
    ASSERT_EQ(::chmod(path_.c_str(), 0200), 0);
    const ChildResult result = RunInChild([&](std::string& message) {
        if (!DropToNobody(path_)) return kCannotDrop;
        try {
            OpenSettingsForReading(path_);
            return kNoError;
        } catch (const SettingsOpenError& error) {
            message = error.what();
            return error.missing() ? kWrongKind : kExpectedError;
        }
    });
    ASSERT_EQ(result.code, kExpectedError) << result.message;
    EXPECT_EQ(result.message, "\"" + path_.string() + "\" could not be read: Permission denied");
    ExpectOldFileWhole();
}

TEST_F(SaveFaultTest, NameTakenByAFolder) {
    for (const bool empty : {true, false}) {
        fs::remove_all(path_);
        fs::create_directory(path_);
        if (!empty) {
            std::ofstream(path_ / "inside") << "kept";
        }
        std::string message;
        EXPECT_EQ(SaveExpectingFailure(path_, message), kExpectedError);
        EXPECT_EQ(message, SaveFailure(path_, "it is a folder"));
        EXPECT_TRUE(fs::is_directory(path_));
        EXPECT_EQ(Names(folder_), std::vector<std::string>{"Kestrow.dat"});
        if (!empty) {
            EXPECT_EQ(Contents(path_ / "inside"), "kept");
        }
    }
}

// A small file system of its own, filled up, in a mount namespace private to
// the child so that nothing outlives it. Skipped where mounting is not allowed.
TEST_F(SaveFaultTest, DiskFull) {
    const ChildResult result = RunInChild([&](std::string& message) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=16k") != 0) {
            return kNotAvailable;
        }
        try {
            SaveSettingsFile(path_, kOld);
        } catch (const SettingsSaveError&) {
            return kSetupFailed;
        }
        {
            std::ofstream filler(folder_ / "filler", std::ios::binary);
            const std::string block(1024, 'f');
            while (filler.write(block.data(), block.size()) && filler.flush()) {
            }
        }
        const int code = SaveExpectingFailure(path_, message);
        if (code != kExpectedError) return code;
        if (Contents(path_) != kOld) return kOldFileChanged;
        if (Names(folder_) != std::vector<std::string>{"Kestrow.dat", "filler"}) return kLeftovers;
        return kExpectedError;
    });
    if (result.code == kNotAvailable) {
        GTEST_SKIP() << "cannot mount a small file system here";
    }
    ASSERT_EQ(result.code, kExpectedError) << result.message;
    EXPECT_EQ(result.message, SaveFailure(path_, "No space left on device"));
    ExpectOldFileWhole();
}

// Where mounting is not allowed, a file size limit makes the write fail the
// same way, through the same path in the save.
TEST_F(SaveFaultTest, WriteCutShortByAFileSizeLimit) {
    const ChildResult result = RunInChild([&](std::string& message) {
        ::signal(SIGXFSZ, SIG_IGN);  // a failing write instead of a dead process
        const rlimit limit{8, 8};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return kSetupFailed;
        return SaveExpectingFailure(path_, message);
    });
    ASSERT_EQ(result.code, kExpectedError) << result.message;
    EXPECT_EQ(result.message, SaveFailure(path_, "File too large"));
    ExpectOldFileWhole();
}

// Temporary files that killed saves left behind go at the next save, once a
// minute old, when they are the user's own and named as a save names them.
TEST_F(SaveFaultTest, StaleTemporariesGoAtTheNextSave) {
    const struct {
        const char* name;
        int age;  // seconds
        bool theirs, stays;
    } cases[] = {{".Kestrow.dat.Ab3xY9", 120, false, false},
                 {".Kestrow.dat.Cd4zW8", 5, false, true},
                 {".Kestrow.dat.old", 120, false, true},
                 {".Kestrow.dat.Ef5vU7", 120, true, true}};
    std::vector<std::string> kept{"Kestrow.dat"};
    for (const auto& c : cases) {
        if (c.theirs && ::geteuid() != 0) continue;
        const fs::path file = folder_ / c.name;
        std::ofstream(file) << "cut";
        ASSERT_EQ(::chown(file.c_str(), c.theirs ? kNobody : ::geteuid(), gid_t(-1)), 0);
        const timespec times[2] = {{std::time(nullptr) - c.age, 0},
                                   {std::time(nullptr) - c.age, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
        if (c.stays) kept.push_back(c.name);
    }
    SaveSettingsFile(path_, kNew);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Names(folder_), kept);
}

// A child saves two records in turn, as fast as it can, and is killed at a
// random moment after its first save: the file must always hold one of them
// whole. A temporary file left behind shows that the kill fell between
// writing and renaming, so the test can tell that it hit the moment it is for.
TEST_F(SaveFaultTest, KilledWhileSaving) {
    using Clock = std::chrono::steady_clock;
    using std::chrono::microseconds;
    const auto started = Clock::now();
    for (int i = 0; i < 4; ++i) {
        SaveSettingsFile(path_, i % 2 ? kOld : kNew);
    }
    const auto saveTime = std::chrono::duration_cast<microseconds>(Clock::now() - started) / 4;
    // Long enough for a few saves to finish, short enough to keep the test quick.
    const auto longestWait = std::min(saveTime * 3 + microseconds(200), microseconds(20000));

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> wait(0, longestWait.count());

    int sawOld = 0;
    int sawNew = 0;
    int cutShort = 0;
    constexpr int kKills = 200;
    for (int kill = 0; kill < kKills; ++kill) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(ready[0]);
            try {
                for (int i = 0;; ++i) {
                    SaveSettingsFile(path_, i % 2 ? kOld : kNew);
                    if (i == 0) {
                        ssize_t ignored = ::write(ready[1], "s", 1);
                        (void)ignored;
                    }
                }
            } catch (...) {
                ::_exit(kOtherError);
            }
        }
        ::close(ready[1]);
        char byte = 0;
        const bool started = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
        std::this_thread::sleep_for(microseconds(wait(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(started && WIFSIGNALED(status)) << "the saving child stopped by itself";

        const std::string contents = Contents(path_);
        if (contents == kOld) {
            ++sawOld;
        } else if (contents == kNew) {
            ++sawNew;
        } else {
            FAIL() << "after kill " << kill << " the file holds "
                   << testing::PrintToString(contents);
        }
        for (const std::string& name : Names(folder_)) {
            if (name != kSettingsFileName) {
                ++cutShort;
                fs::remove(folder_ / name);
            }
        }
    }
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    EXPECT_GE(cutShort, kKills / 10) << "too few kills fell inside a save";
    std::cout << "kills " << kKills << ", old " << sawOld << ", new " << sawNew
              << ", killed inside a save " << cutShort << "\n";
}

}  // namespace
}  // namespace kestrow
