#include "cli/console.hpp"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ovm::cli
