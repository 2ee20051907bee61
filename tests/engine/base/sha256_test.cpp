#include "engine/base/sha256.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <variant>

#include "engine_test_support.hpp"

namespace ovm::engine {
namespace {

struct DigestCase {
  std::string text;
  const char* digest;
};

// The FIPS 180-4 example digests and the digest of the empty message.
const DigestCase digest_cases[] = {
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

TEST(Sha256Test, KnownDigestsOfTexts) {
  for (const DigestCase& c : digest_cases) EXPECT_EQ(sha256_hex(c.text), c.digest) << c.text.size();
}

TEST(Sha256Test, FileDigestIsTheDigestOfItsBytes) {
  testing::TempDir dir;
  for (const DigestCase& c : digest_cases) {
    std::filesystem::path file = dir.write("f.ovdb", c.text);
    auto digest = sha256_file_hex(file.string());
    ASSERT_TRUE(std::holds_alternative<std::string>(digest)) << c.text.size();
    EXPECT_EQ(std::get<std::string>(digest), c.digest);
  }
}

TEST(Sha256Test, FileThatIsNotUtf8IsStillDigested) {
  testing::TempDir dir;
  std::string bytes = "\xff\xfe\x00z";
  bytes.push_back('\0');
  std::filesystem::path file = dir.write("binary", bytes);
  auto digest = sha256_file_hex(file.string());
  ASSERT_TRUE(std::holds_alternative<std::string>(digest));
  EXPECT_EQ(std::get<std::string>(digest), sha256_hex(bytes));
}

TEST(Sha256Test, MissingFileAndDirectoryAreFailures) {
  testing::TempDir dir;
  EXPECT_TRUE(std::holds_alternative<diagnostics::FileError>(sha256_file_hex((dir.path() / "none").string())));
  EXPECT_TRUE(std::holds_alternative<diagnostics::FileError>(sha256_file_hex(dir.path().string())));
}

// A named pipe without a writer would block the open and /dev/zero would be digested for
// ever; both are refused unread. The alarm ends the test if either waits after all.
TEST(Sha256Test, NamedPipeAndDeviceAreRefusedUnread) {
  testing::TempDir dir;
  std::filesystem::path pipe = dir.path() / "pipe.ovdb";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  ::alarm(10);
  for (const std::string& path : {pipe.string(), std::string("/dev/zero")}) {
    auto digest = sha256_file_hex(path);
    ASSERT_TRUE(std::holds_alternative<diagnostics::FileError>(digest)) << path;
    EXPECT_EQ(std::get<diagnostics::FileError>(digest).reason, "not a regular file") << path;
  }
  ::alarm(0);
}

}  // namespace
}  // namespace ovm::engine
