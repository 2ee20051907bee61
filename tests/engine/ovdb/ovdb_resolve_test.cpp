#include "engine/ovdb/ovdb_resolve.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_test_support.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

// Roots that fail the test when a name needs no search.
std::vector<fs::path> unexpected_search() {
  ADD_FAILURE() << "the search roots were asked for";
  return {};
}

TEST(ResolveDatabasePathTest, AbsoluteNameIsTakenAsIs) {
  std::optional<fs::path> model = fs::path("/models");
  EXPECT_EQ(resolve_database_path_in(model, "/data/cr.ovdb", unexpected_search), fs::path("/data/cr.ovdb"));
}

TEST(ResolveDatabasePathTest, NameWithADirectoryPartIsNeverSearched) {
  const char* names[] = {"sub/cr.ovdb", "sub\\cr.ovdb", "./cr.ovdb"};
  for (const char* name : names) {
    EXPECT_EQ(resolve_database_path_in(fs::path("/models"), name, unexpected_search), fs::path("/models") / name);
    EXPECT_EQ(resolve_database_path_in(std::nullopt, name, unexpected_search), fs::path(name));
  }
}

TEST(ResolveDatabasePathTest, BareNameBesideTheModelWins) {
  testing::TempDir dir;
  dir.write("model/cr.ovdb", "");
  dir.write("env/cr.ovdb", "");
  testing::ScopedEnvironment env("OVM_DATABASES", (dir.path() / "env").c_str());
  EXPECT_EQ(resolve_database_path(dir.path() / "model", "cr.ovdb"), dir.path() / "model" / "cr.ovdb");
}

TEST(ResolveDatabasePathTest, BareDirectoryBesideTheModelCounts) {
  testing::TempDir dir;
  dir.make_directory("model/dbs");
  EXPECT_EQ(resolve_database_path_in(dir.path() / "model", "dbs", unexpected_search), dir.path() / "model" / "dbs");
}

TEST(ResolveDatabasePathTest, BareNameIsTakenFromOvmDatabases) {
  testing::TempDir dir;
  dir.make_directory("model");
  dir.write("env/cr.ovdb", "");
  testing::ScopedEnvironment env("OVM_DATABASES", (dir.path() / "env").c_str());
  EXPECT_EQ(resolve_database_path(dir.path() / "model", "cr.ovdb"), dir.path() / "env" / "cr.ovdb");
}

TEST(ResolveDatabasePathTest, RootsAreTriedInOrderAndElseTheModelPathStays) {
  testing::TempDir dir;
  dir.make_directory("model");
  dir.write("first/a.ovdb", "");
  dir.write("second/a.ovdb", "");
  dir.write("second/b.ovdb", "");
  auto roots = [&] { return std::vector<fs::path>{dir.path() / "first", dir.path() / "second"}; };
  fs::path model = dir.path() / "model";
  EXPECT_EQ(resolve_database_path_in(model, "a.ovdb", roots), dir.path() / "first" / "a.ovdb");
  EXPECT_EQ(resolve_database_path_in(model, "b.ovdb", roots), dir.path() / "second" / "b.ovdb");
  EXPECT_EQ(resolve_database_path_in(model, "c.ovdb", roots), model / "c.ovdb");
  EXPECT_EQ(resolve_database_path_in(std::nullopt, "c.ovdb", roots), fs::path("c.ovdb"));
}

TEST(ResolveDatabasePathTest, NotFoundAnywhereIsTheModelRelativePath) {
  testing::TempDir dir;
  dir.make_directory("env");
  testing::ScopedEnvironment env("OVM_DATABASES", (dir.path() / "env").c_str());
  EXPECT_EQ(resolve_database_path(dir.path() / "model", "none.ovdb"), dir.path() / "model" / "none.ovdb");
}

TEST(DatabaseSearchRootsTest, EnvironmentValueIsOnePathTakenUntested) {
  std::vector<fs::path> roots = database_search_roots(std::string("/no/such:/other"), std::nullopt);
  EXPECT_EQ(roots, (std::vector<fs::path>{"/no/such:/other"}));
  roots = database_search_roots(std::string(""), std::nullopt);
  EXPECT_EQ(roots, (std::vector<fs::path>{""}));
  EXPECT_TRUE(database_search_roots(std::nullopt, std::nullopt).empty());
}

TEST(DatabaseSearchRootsTest, DatabasesDirectoryNearTheExecutable) {
  struct Case {
    const char* databases;  // where the directory named databases is made, below the temp dir
    const char* executable;
    const char* root;       // the root found, or empty for none
  };
  const Case cases[] = {
      {"t/bin/databases", "t/bin/ovm", "t/bin/databases"},
      {"t/databases", "t/bin/ovm", "t/databases"},
      {"t/databases", "t/a/b/ovm", "t/databases"},
      {"t/databases", "t/a/b/c/ovm", "t/databases"},  // the great-grandparent, fourth try
      {"t/databases", "t/a/b/c/d/ovm", ""},           // a fifth try is never made
      {"t/a/databases", "t/a/b/ovm", "t/a/databases"},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    dir.make_directory(c.databases);
    std::vector<fs::path> roots = database_search_roots(std::string("/env"), dir.path() / c.executable);
    std::vector<fs::path> expected{"/env"};
    if (*c.root != '\0') expected.push_back(dir.path() / c.root);
    EXPECT_EQ(roots, expected) << c.executable;
  }
}

TEST(DatabaseSearchRootsTest, NearestDatabasesDirectoryWinsAndFilesDoNotCount) {
  testing::TempDir dir;
  dir.make_directory("t/databases");
  dir.make_directory("t/a/databases");
  dir.write("t/a/b/databases", "a file, not a directory");
  std::vector<fs::path> roots = database_search_roots(std::nullopt, dir.path() / "t/a/b/ovm");
  EXPECT_EQ(roots, (std::vector<fs::path>{dir.path() / "t/a/databases"}));
}

}  // namespace
}  // namespace ovm::engine
