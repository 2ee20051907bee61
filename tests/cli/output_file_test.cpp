#include "cli/output_file.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "read_back.hpp"

namespace ovm::cli {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class OutputFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "ovm-output-file-XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    dir_ = name;
    input_ = (dir_ / "m.ovm").string();
    std::ofstream(input_) << "TITLE\n    Tiny\n";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Writes through a console whose standard error is kept; returns what it printed there.
  std::string write(const std::string& output, bool expect_written) {
    std::FILE* err = std::tmpfile();
    Console console{stdout, err};
    EXPECT_EQ(write_output_file(input_, output, "{}", console), expect_written) << output;
    std::string printed = read_back(err);
    std::fclose(err);
    return printed;
  }

  fs::path dir_;
  std::string input_;
};

// However the output names the input, it is refused and the input keeps its text.
TEST_F(OutputFileTest, RefusesTheInputUnderAnyName) {
  fs::create_symlink("m.ovm", dir_ / "link.ovm");
  fs::create_hard_link(input_, dir_ / "hard.ovm");
  for (const fs::path& output : {fs::path(input_), dir_ / "." / "m.ovm", dir_ / "link.ovm", dir_ / "hard.ovm"}) {
    EXPECT_EQ(write(output.string(), false),
              output.string() + ": is the same file as the input " + input_ + "; refusing to overwrite it\n");
    EXPECT_EQ(contents(input_), "TITLE\n    Tiny\n");
  }
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.ovm"));
}

TEST_F(OutputFileTest, WritesAnotherFileAndReportsAFailedWrite) {
  EXPECT_EQ(write((dir_ / "m.ovmir.json").string(), true), "");
  EXPECT_EQ(contents(dir_ / "m.ovmir.json"), "{}");
  std::string missing = (dir_ / "missing" / "m.ovmir.json").string();
  EXPECT_EQ(write(missing, false), missing + ": No such file or directory\n");
}

// Pieces are written in order as they come; pieces that fail of themselves leave the file as it
// was and are not reported, since the caller knows why; a piece the file refuses is reported.
TEST_F(OutputFileTest, WritesPiecesAndKeepsTheFileWhenTheyFail) {
  std::string output = (dir_ / "m.results.json").string();
  std::FILE* err = std::tmpfile();
  Console console{stdout, err};
  auto three = [](const std::function<bool(std::string_view)>& put) { return put("{") && put("\"a\": 1") && put("}"); };
  EXPECT_TRUE(write_output_file(input_, output, three, console));
  EXPECT_EQ(contents(output), "{\"a\": 1}");

  auto broken = [](const std::function<bool(std::string_view)>& put) { return put("{\"half") && false; };
  EXPECT_FALSE(write_output_file(input_, output, broken, console));
  EXPECT_EQ(contents(output), "{\"a\": 1}");
  EXPECT_EQ(read_back(err), "");
  std::fclose(err);

  if (fs::exists("/dev/full")) {
    EXPECT_EQ(write("/dev/full", false), "/dev/full: No space left on device\n");
  }
}

}  // namespace
}  // namespace ovm::cli
