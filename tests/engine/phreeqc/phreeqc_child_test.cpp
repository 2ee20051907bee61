#include "engine/phreeqc/phreeqc_child.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine_test_support.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

ChildProcess start_shell(const std::string& script, const fs::path& directory) {
  auto started = ChildProcess::start("sh", {"-c", script}, directory);
  if (auto* reason = std::get_if<std::string>(&started)) ADD_FAILURE() << *reason;
  return std::move(std::get<ChildProcess>(started));
}

ChildOutcome run_to_end(ChildProcess& child) {
  auto waited = wait_with_limit(child, milliseconds(20000), milliseconds(5));
  EXPECT_EQ(std::get<WaitEnd>(waited), WaitEnd::Ended);
  auto collected = child.collect();
  return std::get<ChildOutcome>(collected);
}

TEST(ChildProcessTest, RunsInItsDirectoryAndCapturesBothStreams) {
  testing::TempDir dir;
  ChildProcess child = start_shell("pwd; echo oops >&2; exit 3", dir.path());
  ChildOutcome outcome = run_to_end(child);
  EXPECT_EQ(outcome.status.code, 3);
  EXPECT_EQ(fs::path(outcome.standard_output.substr(0, outcome.standard_output.size() - 1)), fs::canonical(dir.path()));
  EXPECT_EQ(outcome.standard_error, "oops\n");
}

TEST(ChildProcessTest, PassesArgumentsAsGivenAndReadsNothingOnStandardInput) {
  testing::TempDir dir;
  auto started = ChildProcess::start("sh", {"-c", "printf '[%s]' \"$@\"; cat; echo \"in:$?\"", "sh", "a b", "", "c"}, dir.path());
  ASSERT_TRUE(std::holds_alternative<ChildProcess>(started));
  ChildOutcome outcome = run_to_end(std::get<ChildProcess>(started));
  EXPECT_TRUE(outcome.status.success());
  EXPECT_EQ(outcome.standard_output, "[a b][][c]in:0\n");
}

TEST(ChildProcessTest, AChildWritingMoreThanAPipeHoldsIsNotBlocked) {
  testing::TempDir dir;
  // About 1.3 MB on each stream, far beyond a pipe's buffer.
  ChildProcess child = start_shell("i=0; while [ $i -lt 20000 ]; do echo 0123456789012345678901234567890123456789012345678901234567890123; "
                                   "echo 0123456789012345678901234567890123456789012345678901234567890123 >&2; i=$((i+1)); done",
                                   dir.path());
  ChildOutcome outcome = run_to_end(child);
  EXPECT_TRUE(outcome.status.success());
  // Only the end of each stream is kept, however much the child writes.
  for (const std::string* captured : {&outcome.standard_output, &outcome.standard_error}) {
    EXPECT_EQ(captured->size(), 16384u);
    EXPECT_TRUE(captured->ends_with("0123456789012345678901234567890123456789012345678901234567890123\n"));
  }
}

TEST(ChildProcessTest, AChildEndedByASignalHasNoExitCode) {
  testing::TempDir dir;
  ChildProcess child = start_shell("kill -TERM $$", dir.path());
  ChildOutcome outcome = run_to_end(child);
  EXPECT_FALSE(outcome.status.code.has_value());
  EXPECT_EQ(outcome.status.signal, 15);
}

TEST(ChildProcessTest, StartFailuresGiveThePlatformsReason) {
  testing::TempDir dir;
  auto missing = ChildProcess::start("ovm-no-such-program", {}, dir.path());
  ASSERT_TRUE(std::holds_alternative<std::string>(missing));
  EXPECT_EQ(std::get<std::string>(missing), "No such file or directory");
  fs::path not_executable = dir.write("plain", "#!/bin/sh\n");
  auto refused = ChildProcess::start(not_executable.string(), {}, dir.path());
  ASSERT_TRUE(std::holds_alternative<std::string>(refused));
  EXPECT_EQ(std::get<std::string>(refused), "Permission denied");
  auto no_directory = ChildProcess::start("sh", {"-c", "true"}, dir.path() / "missing");
  ASSERT_TRUE(std::holds_alternative<std::string>(no_directory));
  EXPECT_EQ(std::get<std::string>(no_directory), "No such file or directory");
}

TEST(ChildProcessTest, ARelativeProgramPathIsFoundFromTheCurrentDirectory) {
  testing::TempDir dir;
  fs::path work = dir.make_directory("work");
  // The child changes into `work` first; the program is still found where the caller sees it.
  auto started = ChildProcess::start(fs::relative("/bin/echo").string(), {"found"}, work);
  ASSERT_TRUE(std::holds_alternative<ChildProcess>(started)) << std::get<std::string>(started);
  EXPECT_EQ(run_to_end(std::get<ChildProcess>(started)).standard_output, "found\n");
}

TEST(ChildProcessTest, AChildPastTheLimitIsKilledAndWaitedFor) {
  testing::TempDir dir;
  ChildProcess child = start_shell("exec sleep 30", dir.path());
  auto started_at = std::chrono::steady_clock::now();
  auto waited = wait_with_limit(child, milliseconds(200), milliseconds(50));
  auto elapsed = std::chrono::steady_clock::now() - started_at;
  ASSERT_TRUE(std::holds_alternative<WaitEnd>(waited));
  EXPECT_EQ(std::get<WaitEnd>(waited), WaitEnd::TimedOut);
  EXPECT_GE(elapsed, milliseconds(200));
  EXPECT_LT(elapsed, milliseconds(5000));
  // It was reaped: collecting reports the kill.
  auto collected = child.collect();
  ASSERT_TRUE(std::holds_alternative<ChildOutcome>(collected));
  EXPECT_EQ(std::get<ChildOutcome>(collected).status.signal, 9);
}

TEST(ChildProcessTest, AFastChildIsSeenWithoutWaitingForTheLimit) {
  testing::TempDir dir;
  ChildProcess child = start_shell("exit 0", dir.path());
  auto started_at = std::chrono::steady_clock::now();
  auto waited = wait_with_limit(child, milliseconds(60000), milliseconds(50));
  EXPECT_EQ(std::get<WaitEnd>(waited), WaitEnd::Ended);
  EXPECT_LT(std::chrono::steady_clock::now() - started_at, milliseconds(10000));
}

TEST(ChildProcessTest, ProbingTellsWhetherAProgramStarts) {
  testing::TempDir dir;
  dir.write("bin/quiet", "#!/bin/sh\nexec sleep 30\n");
  fs::permissions(dir.path() / "bin/quiet", fs::perms::owner_all);
  dir.write("bin/plain", "not a program\n");
  testing::ScopedEnvironment path("PATH", (dir.path() / "bin").c_str());
  EXPECT_TRUE(probe_program("quiet"));
  EXPECT_FALSE(probe_program("plain"));
  EXPECT_FALSE(probe_program("ovm-no-such-program"));
}

}  // namespace
}  // namespace ovm::engine
