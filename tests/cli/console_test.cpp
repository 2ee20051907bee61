#include "cli/console.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "read_back.hpp"

namespace ovm::cli {
namespace {

TEST(ConsoleTest, FailedStandardOutputRaisesStatusToTwo) {
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  std::FILE* err = std::tmpfile();
  Console console{full, err};
  write_out(console, "some text\n");
  EXPECT_EQ(finish(console, 0), 2);
  EXPECT_EQ(read_back(err), "cannot write to the standard output: No space left on device\n");
  std::fclose(full);
  std::fclose(err);
}

TEST(ConsoleTest, FailureKeepsAHigherStatus) {
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  std::FILE* err = std::tmpfile();
  Console console{full, err};
  write_out(console, "x");
  EXPECT_EQ(finish(console, 3), 3);
  std::fclose(full);
  std::fclose(err);
}

TEST(ConsoleTest, SuccessfulWritesKeepStatus) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Console console{out, err};
  write_out(console, "a");
  write_err(console, "b");
  EXPECT_EQ(finish(console, 1), 1);
  EXPECT_EQ(read_back(out), "a");
  EXPECT_EQ(read_back(err), "b");
  std::fclose(out);
  std::fclose(err);
}

// Both streams on one file, as with 2>&1: the buffered standard output must not fall behind a
// later message on the standard error (check's read error after an earlier file's diagnostics).
TEST(ConsoleTest, StreamsSharingAFileKeepTheOrderWritten) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::FILE* out = fdopen(dup(fileno(file)), "w");
  std::FILE* err = fdopen(dup(fileno(file)), "w");
  ASSERT_NE(out, nullptr);
  ASSERT_NE(err, nullptr);
  std::setvbuf(out, nullptr, _IOFBF, 4096);
  std::setvbuf(err, nullptr, _IONBF, 0);
  Console console{out, err};
  write_out(console, "first file's diagnostics\n");
  write_err(console, "second.ovm: No such file or directory\n");
  write_out(console, "later\n");
  EXPECT_EQ(finish(console, 2), 2);
  EXPECT_EQ(read_back(file), "first file's diagnostics\nsecond.ovm: No such file or directory\nlater\n");
  std::fclose(out);
  std::fclose(err);
  std::fclose(file);
}

}  // namespace
}  // namespace ovm::cli
