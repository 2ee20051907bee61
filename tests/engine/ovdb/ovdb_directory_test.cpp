#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/ovdb/ovdb_read.hpp"
#include "engine_test_support.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

std::string standard_file(const std::string& citation) {
  return "[[standard]]\ncitation = \"" + citation + "\"\nname = \"n\"\nratio = \"53Cr/52Cr\"\nvalue = 1.0\n";
}

std::vector<std::string> citations(const DatabaseSet& set) {
  std::vector<std::string> result;
  for (const DatabaseStandard& standard : set.standards) result.push_back(standard.source);
  return result;
}

TEST(DatabaseDirectoryTest, FindDatabaseFileByExtension) {
  struct Case {
    const char* name;
    bool taken;
  };
  const Case cases[] = {
      {"cr.ovdb", true},     {"A.OVDB", true},     {"a.b.OVDB", true},   {"x.OvDb", true},
      {".ovdb", false},      {"notes.txt", false}, {"ovdb", false},      {"cr.ovdb.bak", false},
      {"cr.ovd", false},     {"cr.", false},       {"cr.ovdbx", false},  {"..ovdb", true},
  };
  for (const Case& c : cases) {
    fs::path entry = fs::path("dir") / c.name;
    std::optional<fs::path> found = find_database_file(entry);
    EXPECT_EQ(found.has_value(), c.taken) << c.name;
    if (found) {
      EXPECT_EQ(*found, entry);
    }
  }
}

TEST(DatabaseDirectoryTest, CollectKeepsListingOrder) {
  std::vector<fs::path> listing = {"d/b.ovdb", "d/notes.txt", "d/A.OVDB", "d/.ovdb", "d/a.ovdb"};
  std::vector<fs::path> expected = {"d/b.ovdb", "d/A.OVDB", "d/a.ovdb"};
  EXPECT_EQ(collect_database_files(listing), expected);
}

TEST(DatabaseDirectoryTest, ReadsDatabaseFilesInByteOrderOfTheirNames) {
  testing::TempDir dir;
  dir.write("dbs/b.ovdb", standard_file("b"));
  dir.write("dbs/A.OVDB", standard_file("A"));
  dir.write("dbs/notes.txt", "not toml at all [");
  dir.write("dbs/a.ovdb", standard_file("a"));
  dir.write("dbs/.ovdb", "not toml at all [");
  DatabaseSet set;
  std::optional<EngineError> error = read_database_path(set, dir.path() / "dbs");
  ASSERT_FALSE(error.has_value()) << error->message;
  EXPECT_EQ(citations(set), (std::vector<std::string>{"A (unnamed)", "a (unnamed)", "b (unnamed)"}));
}

TEST(DatabaseDirectoryTest, FirstErrorStopsTheDirectory) {
  testing::TempDir dir;
  dir.write("dbs/A.OVDB", standard_file("A"));
  fs::path broken = dir.write("dbs/a.ovdb", "[database]\novdb_version = \"2.0\"\n");
  dir.write("dbs/b.ovdb", standard_file("b"));
  DatabaseSet set;
  std::optional<EngineError> error = read_database_path(set, dir.path() / "dbs");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->code, "OV105");
  EXPECT_EQ(error->message, broken.string() + ": OVDB format 2.0, expected 1.x");
  EXPECT_EQ(citations(set), (std::vector<std::string>{"A (unnamed)"}));
}

TEST(DatabaseDirectoryTest, DirectoryWithoutDatabasesLoadsNothing) {
  testing::TempDir dir;
  dir.write("dbs/readme.md", "#");
  DatabaseSet set;
  EXPECT_FALSE(read_database_path(set, dir.path() / "dbs").has_value());
  EXPECT_TRUE(set.standards.empty());
  EXPECT_TRUE(set.fractionations.empty());
}

TEST(DatabaseDirectoryTest, SubdirectoryNamedLikeADatabaseIsReadAsADirectory) {
  testing::TempDir dir;
  dir.write("dbs/a.ovdb", standard_file("a"));
  dir.write("dbs/nested.ovdb/inner.ovdb", standard_file("inner"));
  dir.write("dbs/z.ovdb", standard_file("z"));
  DatabaseSet set;
  ASSERT_FALSE(read_database_path(set, dir.path() / "dbs").has_value());
  EXPECT_EQ(citations(set), (std::vector<std::string>{"a (unnamed)", "inner (unnamed)", "z (unnamed)"}));
}

TEST(DatabaseDirectoryTest, LinkToADirectoryIsFollowed) {
  testing::TempDir dir;
  dir.write("real/a.ovdb", standard_file("a"));
  fs::create_directory_symlink(dir.path() / "real", dir.path() / "link");
  DatabaseSet set;
  ASSERT_FALSE(read_database_path(set, dir.path() / "link").has_value());
  EXPECT_EQ(citations(set), (std::vector<std::string>{"a (unnamed)"}));
}

TEST(DatabaseDirectoryTest, DirectoryThatCannotBeListed) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
  testing::TempDir dir;
  fs::path locked = dir.make_directory("locked");
  dir.write("locked/a.ovdb", standard_file("a"));
  fs::permissions(locked, fs::perms::owner_exec, fs::perm_options::replace);
  DatabaseSet set;
  std::optional<EngineError> error = read_database_path(set, locked);
  fs::permissions(locked, fs::perms::owner_all, fs::perm_options::replace);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->code, "OV105");
  EXPECT_EQ(error->message, locked.string() + " cannot be read");
}

}  // namespace
}  // namespace ovm::engine
