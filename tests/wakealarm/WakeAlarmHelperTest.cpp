// The root helper: what it accepts, and what it writes to the clock's file (here a pipe of the test's, so
// that each separate write is seen in order).
#include "wakealarm/WakeAlarmArgument.h"

#include <gtest/gtest.h>

#include <atomic>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace halvika {
namespace {

using Verdict = WakeAlarmArgument::Verdict;

Verdict check(std::vector<const char*> args, std::int64_t now, std::int64_t& second) {
    args.insert(args.begin(), "halvika-wakealarm");
    args.push_back(nullptr);
    return WakeAlarmArgument::check(static_cast<int>(args.size()) - 1, args.data(), now, second);
}

TEST(WakeAlarmArgument, OnlyOneWholeSecondWithinAYearOrZero) {
    const std::int64_t now = 1'800'000'000;
    std::int64_t second = -1;
    EXPECT_EQ(check({"1800000060"}, now, second), Verdict::Set);
    EXPECT_EQ(second, 1'800'000'060);
    EXPECT_EQ(check({"0"}, now, second), Verdict::Clear);
    EXPECT_EQ(second, 0);
    const std::string yearAhead = std::to_string(now + WakeAlarmArgument::maxAheadSeconds);
    EXPECT_EQ(check({yearAhead.c_str()}, now, second), Verdict::Set);
    const std::string beyond = std::to_string(now + WakeAlarmArgument::maxAheadSeconds + 1);
    struct Case {
        std::vector<const char*> args;
        Verdict verdict;
    };
    for (const Case& c : std::vector<Case>{
             {{}, Verdict::WrongCount},
             {{"1800000060", "0"}, Verdict::WrongCount},
             {{""}, Verdict::NotANumber},
             {{"-5"}, Verdict::NotANumber},
             {{"+1800000060"}, Verdict::NotANumber},
             {{" 1800000060"}, Verdict::NotANumber},
             {{"1800000060\n"}, Verdict::NotANumber},
             {{"01800000060"}, Verdict::NotANumber},
             {{"00"}, Verdict::NotANumber},
             {{"1e9"}, Verdict::NotANumber},
             {{"99999999999999999999"}, Verdict::NotANumber}, // would overflow
             {{"/sys/class/rtc/rtc0/wakealarm"}, Verdict::NotANumber},
             {{"1800000000"}, Verdict::InThePast},
             {{"17"}, Verdict::InThePast},
             {{beyond.c_str()}, Verdict::TooFarAhead},
         }) {
        second = -1;
        EXPECT_EQ(check(c.args, now, second), c.verdict) << (c.args.empty() ? "(none)" : c.args[0]);
        EXPECT_EQ(second, 0);
        EXPECT_STRNE(WakeAlarmArgument::explain(c.verdict), "");
    }
}

/// Runs the test build of the helper; its exit code.
int runHelper(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv{const_cast<char*>(HALVIKA_WAKEALARM_TESTABLE)};
        for (const auto& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// Everything written into the pipe while the helper runs. Opened without waiting, so that a writer never
/// blocks and a reader never waits for a writer that has gone.
std::string collectWrites(const std::vector<std::string>& args, int& exitCode) {
    const int fd = ::open(HALVIKA_WAKEALARM_TEST_FILE, O_RDONLY | O_NONBLOCK);
    std::atomic<bool> done{false};
    auto helper = std::async(std::launch::async, [&args, &done] {
        const int code = runHelper(args);
        done = true;
        return code;
    });
    std::string text;
    char buffer[64];
    for (;;) {
        const bool finished = done; // read once more after the helper ended
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        }
        if (finished) {
            break;
        }
        ::usleep(1000);
    }
    ::close(fd);
    exitCode = helper.get();
    return text;
}

TEST(WakeAlarmHelper, ClearsFirstThenSetsAndRefusesAnythingElse) {
    const std::string file = HALVIKA_WAKEALARM_TEST_FILE;
    std::filesystem::remove(file);
    // No clock file: it says so and fails.
    EXPECT_EQ(runHelper({"0"}), WakeAlarmArgument::exitNotWritten);

    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    const std::string in = std::to_string(std::time(nullptr) + 3600);
    int code = -1;
    // The clear, then the moment (which never starts with a zero).
    EXPECT_EQ(collectWrites({in}, code), "0" + in);
    EXPECT_EQ(code, WakeAlarmArgument::exitDone);
    EXPECT_EQ(collectWrites({"0"}, code), "0");
    EXPECT_EQ(code, WakeAlarmArgument::exitDone);
    std::filesystem::remove(file);

    // A refused argument writes nothing: a plain file stays as it was.
    {
        std::FILE* f = std::fopen(file.c_str(), "w");
        std::fputs("untouched", f);
        std::fclose(f);
    }
    EXPECT_EQ(runHelper({}), WakeAlarmArgument::exitUsage);
    EXPECT_EQ(runHelper({"1", "2"}), WakeAlarmArgument::exitUsage);
    EXPECT_EQ(runHelper({"10"}), WakeAlarmArgument::exitUsage);
    EXPECT_EQ(runHelper({"; rm -rf /"}), WakeAlarmArgument::exitUsage);
    std::FILE* f = std::fopen(file.c_str(), "r");
    char text[32] = {};
    ASSERT_NE(std::fgets(text, sizeof text, f), nullptr);
    std::fclose(f);
    EXPECT_STREQ(text, "untouched");
    std::filesystem::remove(file);
}

} // namespace
} // namespace halvika
