#include "diagnostics/text_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace ovm::diagnostics {
namespace {

namespace fs = std::filesystem;

class TextFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("ovm-text-file-" + std::to_string(::getpid()) + "-" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string put(const std::string& name, const std::string& bytes) {
    std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
};

TEST_F(TextFileTest, ReadsTheWholeTextUnaltered) {
  std::string text = "\xEF\xBB\xBFMETA\r\n    name \"\xCE\xB4\"\n";
  auto result = read_text_file(put("m.ovm", text));
  ASSERT_TRUE(std::holds_alternative<std::string>(result));
  EXPECT_EQ(std::get<std::string>(result), text);

  auto empty = read_text_file(put("empty.ovm", ""));
  ASSERT_TRUE(std::holds_alternative<std::string>(empty));
  EXPECT_EQ(std::get<std::string>(empty), "");
}

TEST_F(TextFileTest, FailuresCarryTheReason) {
  struct Case {
    std::string path;
    std::string reason;
  };
  for (const Case& c : {Case{(dir_ / "missing.ovm").string(), "No such file or directory"},
                        Case{dir_.string(), "Is a directory"},
                        Case{put("latin1.ovm", "caf\xE9\n"), "stream did not contain valid UTF-8"},
                        Case{put("surrogate.ovm", "\xED\xA0\x80"), "stream did not contain valid UTF-8"}}) {
    auto result = read_text_file(c.path);
    ASSERT_TRUE(std::holds_alternative<FileError>(result)) << c.path;
    EXPECT_EQ(std::get<FileError>(result).reason, c.reason) << c.path;
  }
}

// Refused from its size alone, before anything is read (the file is sparse).
TEST_F(TextFileTest, FourGibibytesIsTooLarge) {
  std::string path = put("huge.ovm", "");
  fs::resize_file(path, std::uintmax_t{1} << 32);
  auto result = read_text_file(path);
  ASSERT_TRUE(std::holds_alternative<FileError>(result));
  EXPECT_EQ(std::get<FileError>(result).reason, "file is 4 GiB or larger");
}

TEST_F(TextFileTest, WriteCreatesAndTruncates) {
  std::string path = (dir_ / "out.json").string();
  EXPECT_FALSE(write_file(path, "long first text").has_value());
  EXPECT_FALSE(write_file(path, "short").has_value());
  EXPECT_EQ(contents(path), "short");

  auto failure = write_file((dir_ / "no" / "such" / "dir.json").string(), "x");
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->reason, "No such file or directory");
}

TEST_F(TextFileTest, ReplaceKeepsPermissionBitsAndLeavesNoTemporary) {
  std::string path = put("m.ovm", "old text\n");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  EXPECT_FALSE(replace_file(path, "new text\n").has_value());
  EXPECT_EQ(contents(path), "new text\n");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(TextFileTest, ReplaceThroughALinkKeepsTheLink) {
  std::string target = put("real.ovm", "old\n");
  fs::path link = dir_ / "link.ovm";
  fs::create_symlink(target, link);
  EXPECT_FALSE(replace_file(link.string(), "new\n").has_value());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contents(target), "new\n");
}

// A name of the longest length a file system allows still leaves room for the temporary.
TEST_F(TextFileTest, ReplaceOfAFileWithTheLongestNameWorks) {
  std::string path = put(std::string(255, 'n'), "old\n");
  auto failure = replace_file(path, "new\n");
  EXPECT_FALSE(failure.has_value()) << failure->reason;
  EXPECT_EQ(contents(path), "new\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// The directory lets anyone create and rename files, but the file itself is read-only: it is
// refused with the reason a direct write gives, and stays as it was. Root may write any file,
// so a root run makes the attempt as the unprivileged user "nobody".
TEST_F(TextFileTest, ReplaceRefusesAReadOnlyFile) {
  std::string path = put("m.ovm", "old\n");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 0777), 0);
  int pipe_ends[2];
  ASSERT_EQ(::pipe(pipe_ends), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    auto failure = replace_file(path, "new\n");
    std::string reason = failure ? failure->reason : "";
    ssize_t written = ::write(pipe_ends[1], reason.data(), reason.size());
    ::_exit(written == static_cast<ssize_t>(reason.size()) ? 0 : 4);
  }
  ::close(pipe_ends[1]);
  char buffer[256];
  ssize_t n = ::read(pipe_ends[0], buffer, sizeof buffer);
  ::close(pipe_ends[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
  EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0), "Permission denied");
  EXPECT_EQ(contents(path), "old\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(TextFileTest, ReplaceOfAMissingFileFails) {
  auto failure = replace_file((dir_ / "missing.ovm").string(), "x");
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->reason, "No such file or directory");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 0);
}

}  // namespace
}  // namespace ovm::diagnostics
