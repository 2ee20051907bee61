#include "diagnostics/text_file.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

namespace ovm::diagnostics {
namespace {

namespace fs = std::filesystem;

constexpr uid_t nobody = 65534;

struct ChildSetting {
  bool as_nobody = false;                   // root gives up its privileges first
  std::optional<rlim_t> file_size_limit;    // the largest file the child may write
};

// Runs `body` in a child process and returns the text it gives back. The child ends within
// seconds however the code under test behaves (an alarm kills it), so a call that waits for
// ever fails the test instead of hanging it. A file-size limit makes writes fail with EFBIG
// rather than killing the child.
std::string in_child(const std::function<std::string()>& body, ChildSetting setting = {}) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return "pipe failed";
  pid_t child = ::fork();
  if (child < 0) return "fork failed";
  if (child == 0) {
    ::close(pipe_ends[0]);
    ::alarm(10);
    if (setting.as_nobody && ::geteuid() == 0 && (::setgid(nobody) != 0 || ::setuid(nobody) != 0)) ::_exit(3);
    if (setting.file_size_limit) {
      std::signal(SIGXFSZ, SIG_IGN);
      struct rlimit limit = {*setting.file_size_limit, *setting.file_size_limit};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(4);
    }
    std::string text = body();
    ssize_t written = ::write(pipe_ends[1], text.data(), text.size());
    ::_exit(written == static_cast<ssize_t>(text.size()) ? 0 : 5);
  }
  ::close(pipe_ends[1]);
  std::string text;
  char buffer[256];
  for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  ::close(pipe_ends[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child ended with status " + std::to_string(status);
  return text;
}

const ChildSetting as_nobody{true, std::nullopt};

std::string reason_of(const std::optional<FileError>& failure) { return failure ? failure->reason : "no failure"; }

template <typename T>
std::string reason_of(const std::variant<T, FileError>& result) {
  const FileError* failure = std::get_if<FileError>(&result);
  return failure ? failure->reason : "no failure";
}

struct stat stat_of(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info;
}

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

  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
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
TEST_F(TextFileTest, ReplaceAndWriteRefuseAReadOnlyFile) {
  std::string path = put("m.ovm", "old\n");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 0777), 0);
  EXPECT_EQ(in_child([&] { return reason_of(replace_file(path, "new\n")); }, as_nobody), "Permission denied");
  EXPECT_EQ(in_child([&] { return reason_of(write_file(path, "new\n")); }, as_nobody), "Permission denied");
  EXPECT_EQ(contents(path), "old\n");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(TextFileTest, ReplaceOfAMissingFileFails) {
  auto failure = replace_file((dir_ / "missing.ovm").string(), "x");
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->reason, "No such file or directory");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 0);
}

// Neither is ever opened for reading in a way that waits: a pipe without a writer would
// block the open, /dev/zero would feed bytes for ever.
TEST_F(TextFileTest, ReadRefusesNamedPipesAndDevices) {
  std::string pipe = (dir_ / "pipe.ovm").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  fs::create_symlink("/dev/zero", dir_ / "zero.ovm");
  for (const std::string& path : {pipe, std::string("/dev/zero"), std::string("/dev/null"), (dir_ / "zero.ovm").string()}) {
    EXPECT_EQ(in_child([&] { return reason_of(read_text_file(path)); }), "not a regular file") << path;
    EXPECT_EQ(in_child([&] { return reason_of(open_regular_file(path)); }), "not a regular file") << path;
  }
}

TEST_F(TextFileTest, FailedWriteLeavesTheEarlierFileAndNoTemporary) {
  std::string earlier = put("out.json", "earlier");
  std::string fresh = (dir_ / "new.json").string();
  std::string long_text(4096, 'x');
  ChildSetting limited{false, 100};
  EXPECT_EQ(in_child([&] { return reason_of(write_file(earlier, long_text)); }, limited), "File too large");
  EXPECT_EQ(in_child([&] { return reason_of(write_file(fresh, long_text)); }, limited), "File too large");
  EXPECT_EQ(contents(earlier), "earlier");
  EXPECT_FALSE(fs::exists(fresh));
  EXPECT_EQ(entries(), 1u);
}

// The super-user rebuilding someone's output leaves it theirs.
TEST_F(TextFileTest, WriteKeepsModeAndOwnerAndGivesANewFileTheUsualMode) {
  std::string earlier = put("out.json", "earlier");
  ASSERT_EQ(::chmod(earlier.c_str(), 0604), 0);
  bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(earlier.c_str(), nobody, nobody), 0);
  }
  EXPECT_EQ(reason_of(write_file(earlier, "later")), "no failure");
  EXPECT_EQ(contents(earlier), "later");
  EXPECT_EQ(stat_of(earlier).st_mode & 07777, 0604u);
  if (root) {
    EXPECT_EQ(stat_of(earlier).st_uid, nobody);
  }

  mode_t old_mask = ::umask(027);
  std::string fresh = (dir_ / "new.json").string();
  EXPECT_EQ(reason_of(write_file(fresh, "fresh")), "no failure");
  ::umask(old_mask);
  EXPECT_EQ(stat_of(fresh).st_mode & 07777, 0640u);
  EXPECT_EQ(entries(), 2u);
}

TEST_F(TextFileTest, WriteThroughALinkReplacesItsTarget) {
  std::string target = put("real.json", "earlier");
  fs::path link = dir_ / "link.json";
  fs::create_symlink(target, link);
  EXPECT_EQ(reason_of(write_file(link.string(), "later")), "no failure");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contents(target), "later");
  EXPECT_EQ(entries(), 2u);
}

// A device is written into, never renamed over (as the super-user could).
TEST_F(TextFileTest, WriteToADeviceWritesIntoIt) {
  EXPECT_EQ(reason_of(write_file("/dev/null", "bytes")), "no failure");
  EXPECT_TRUE(S_ISCHR(stat_of("/dev/null").st_mode));
  EXPECT_EQ(reason_of(write_file("/dev/full", "bytes")), "No space left on device");
  EXPECT_TRUE(S_ISCHR(stat_of("/dev/full").st_mode));
}

TEST_F(TextFileTest, ReplaceKeepsOwnerGroupAndPermissions) {
  if (::geteuid() != 0) GTEST_SKIP() << "only the super-user can give a file to another user";
  std::string path = put("m.ovm", "old\n");
  ASSERT_EQ(::chown(path.c_str(), nobody, nobody), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  EXPECT_EQ(reason_of(replace_file(path, "new\n")), "no failure");
  struct stat info = stat_of(path);
  EXPECT_EQ(info.st_uid, nobody);
  EXPECT_EQ(info.st_gid, nobody);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(contents(path), "new\n");
  EXPECT_EQ(entries(), 1u);
}

// Where a rename would split the file from its other names, give it to the user who runs the
// rewrite, or is not allowed at all, the file's own bytes are rewritten: same inode.
TEST_F(TextFileTest, ReplaceWritesInPlaceWhereARenameWouldChangeTheFile) {
  std::string linked = put("linked.ovm", "old text that is long\n");
  fs::create_hard_link(linked, dir_ / "other.ovm");
  ino_t linked_inode = stat_of(linked).st_ino;
  EXPECT_EQ(reason_of(replace_file(linked, "new\n")), "no failure");
  EXPECT_EQ(contents((dir_ / "other.ovm").string()), "new\n");
  EXPECT_EQ(stat_of(linked).st_ino, linked_inode);

  // A folder nobody but its owner may write, holding a file anyone may write.
  fs::path locked = dir_ / "locked";
  fs::create_directory(locked);
  std::string in_locked = (locked / "m.ovm").string();
  std::ofstream(in_locked) << "old\n";
  ASSERT_EQ(::chmod(in_locked.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 0777), 0);
  ino_t locked_inode = stat_of(in_locked).st_ino;
  EXPECT_EQ(in_child([&] { return reason_of(replace_file(in_locked, "new\n")); }, as_nobody), "no failure");
  EXPECT_EQ(contents(in_locked), "new\n");
  EXPECT_EQ(stat_of(in_locked).st_ino, locked_inode);
  ASSERT_EQ(::chmod(locked.c_str(), 0755), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 1);

  if (::geteuid() != 0) return;
  // A file of the super-user's that "nobody" may write: "nobody" cannot give a new file
  // that owner.
  std::string owned = put("owned.ovm", "old\n");
  ASSERT_EQ(::chmod(owned.c_str(), 0666), 0);
  ino_t owned_inode = stat_of(owned).st_ino;
  EXPECT_EQ(in_child([&] { return reason_of(replace_file(owned, "new\n")); }, as_nobody), "no failure");
  EXPECT_EQ(contents(owned), "new\n");
  EXPECT_EQ(stat_of(owned).st_uid, 0u);
  EXPECT_EQ(stat_of(owned).st_ino, owned_inode);
  EXPECT_EQ(entries(), 4u);  // linked, other, locked, owned: no temporary left
}

TEST_F(TextFileTest, FailedRewriteInPlacePutsTheOldTextBack) {
  std::string path = put("m.ovm", "old text\n");
  fs::create_hard_link(path, dir_ / "other.ovm");
  std::string reason =
      in_child([&] { return reason_of(replace_file(path, std::string(200, 'n'))); }, ChildSetting{false, 64});
  EXPECT_EQ(reason, "File too large");
  EXPECT_EQ(contents(path), "old text\n");
  EXPECT_EQ(contents((dir_ / "other.ovm").string()), "old text\n");
  EXPECT_EQ(entries(), 2u);
}

TEST_F(TextFileTest, SameFileComparesDeviceAndInode) {
  std::string model = put("m.ovm", "model\n");
  std::string other = put("o.ovm", "model\n");
  fs::create_symlink("m.ovm", dir_ / "link.ovm");
  fs::create_hard_link(model, dir_ / "hard.ovm");
  struct Case {
    std::string b;
    bool same;
  };
  for (const Case& c : {Case{model, true}, Case{(dir_ / "." / "m.ovm").string(), true},
                        Case{(dir_ / "link.ovm").string(), true}, Case{(dir_ / "hard.ovm").string(), true},
                        Case{other, false}, Case{(dir_ / "missing.ovm").string(), false}}) {
    EXPECT_EQ(same_file(model, c.b), c.same) << c.b;
  }
  EXPECT_FALSE(same_file((dir_ / "missing.ovm").string(), (dir_ / "missing.ovm").string()));
}

}  // namespace
}  // namespace ovm::diagnostics
