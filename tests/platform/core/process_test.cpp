// The process runner: arguments reach the program as they are, the exit
// status and error output come back, a timeout or the runner's end kills the
// program and everything it started, and nothing else.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "platform/core/process.h"

namespace quillet {
namespace {

using namespace std::chrono_literals;

// No process of the group that began with this one is left. A killed
// helper whose parent died first lingers until init reaps it.
bool GroupGone(pid_t pid) {
  for (int i = 0; i < 250; ++i, ::usleep(20000))
    if (::kill(-pid, 0) != 0 && errno == ESRCH) return true;
  return false;
}

TEST(ProcessTest, ArgumentsReachTheProgramUnchanged) {
  // Words a shell would split, expand or run stay single arguments.
  TProcess process("/bin/sh", {"-c", "printf '%s|' \"$@\" >&2; exit 3", "sh", "a b", "$HOME", "; rm -rf x", "*", ""});
  const TProcessResult result = process.Wait(10s);
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_EQ(result.Signal, 0);
  EXPECT_FALSE(result.TimedOut);
  EXPECT_FALSE(result.Succeeded());
  EXPECT_EQ(result.StdErr, "a b|$HOME|; rm -rf x|*||");
}

TEST(ProcessTest, LongErrorOutputKeepsItsEndWithoutBlocking) {
  // More than a pipe holds: a runner that read only at the end would hang.
  TProcess process("/bin/sh", {"-c", "head -c 1000000 /dev/zero | tr '\\0' x >&2; echo last words >&2"});
  const TProcessResult result = process.Wait(20s);
  ASSERT_TRUE(result.Succeeded());
  EXPECT_EQ(result.StdErr.size(), TProcess::kMaxStdErr);
  EXPECT_TRUE(result.StdErr.ends_with("xxlast words\n"));
}

TEST(ProcessTest, TimeoutKillsTheProgramAndWhatItStarted) {
  TProcess process("/bin/sh", {"-c", "sleep 30 & sleep 30"});
  const pid_t pid = process.Pid();
  const auto start = std::chrono::steady_clock::now();
  const TProcessResult result = process.Wait(300ms);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_TRUE(result.TimedOut);
  EXPECT_EQ(result.Signal, SIGKILL);
  EXPECT_FALSE(process.Running());
  EXPECT_TRUE(GroupGone(pid));
}

TEST(ProcessTest, EndingTheRunnerKillsARunningProgram) {
  pid_t pid = 0;
  {
    TProcess process("/bin/sleep", {"30"});
    pid = process.Pid();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid, 0), 0);
  }
  EXPECT_TRUE(GroupGone(pid));
}

TEST(ProcessTest, SignalsAndMissingProgramsAreReported) {
  TProcess process("/bin/sh", {"-c", "kill -TERM $$"});
  const TProcessResult result = process.Wait(10s);
  EXPECT_EQ(result.Signal, SIGTERM);
  EXPECT_FALSE(result.Succeeded());

  try {
    TProcess missing("/nonexistent/program", {});
    FAIL() << "a missing program started";
  } catch (const EProcessError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/program"), std::string::npos) << e.what();
  }
}

TEST(ProcessTest, FindsProgramsOnPath) {
  EXPECT_EQ(FindProgramOnPath("sh").empty(), false);
  EXPECT_EQ(FindProgramOnPath("quillet-no-such-program"), "");
  EXPECT_EQ(FindProgramOnPath("bin/sh"), "");
  EXPECT_EQ(FindProgramOnPath(""), "");
}

}  // namespace
}  // namespace quillet
