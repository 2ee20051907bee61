#include "engine/ovdb/ovdb_load.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_test_support.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

std::string standard_file(const std::string& name, const std::string& citation) {
  return "[database]\nname = \"" + name + "\"\n[[standard]]\ncitation = \"" + citation +
         "\"\nname = \"n\"\nratio = \"53Cr/52Cr\"\nvalue = 1.0\n";
}

ir::ModelGraph graph_naming(const std::vector<std::string>& names) {
  ir::ModelGraph graph;
  for (const std::string& name : names) {
    // What the build recorded is never read.
    graph.provenance.databases.push_back(ir::DatabaseRef{name, std::string("/elsewhere/x.ovdb"), std::string(64, '0')});
  }
  return graph;
}

std::vector<std::string> sources(const DatabaseSet& set) {
  std::vector<std::string> result;
  for (const DatabaseStandard& standard : set.standards) result.push_back(standard.source);
  return result;
}

TEST(LoadDatabasesTest, ReadsTheModelsDatabasesInOrder) {
  testing::TempDir dir;
  dir.write("model/b.ovdb", standard_file("bdb", "B"));
  dir.write("model/dbs/a.ovdb", standard_file("adb", "A"));
  dir.write("env/c.ovdb", standard_file("cdb", "C"));
  testing::ScopedEnvironment env("OVM_DATABASES", (dir.path() / "env").c_str());
  auto loaded = load_databases(graph_naming({"b.ovdb", "dbs", "c.ovdb"}), dir.path() / "model");
  ASSERT_TRUE(std::holds_alternative<DatabaseSet>(loaded)) << std::get<EngineError>(loaded).message;
  EXPECT_EQ(sources(std::get<DatabaseSet>(loaded)), (std::vector<std::string>{"B (bdb)", "A (adb)", "C (cdb)"}));
}

TEST(LoadDatabasesTest, SameFileNamedTwiceIsLoadedTwice) {
  testing::TempDir dir;
  dir.write("model/cr.ovdb", standard_file("crdb", "S"));
  auto loaded = load_databases(graph_naming({"cr.ovdb", "./cr.ovdb", "."}), dir.path() / "model");
  ASSERT_TRUE(std::holds_alternative<DatabaseSet>(loaded));
  EXPECT_EQ(sources(std::get<DatabaseSet>(loaded)), (std::vector<std::string>(3, "S (crdb)")));
}

TEST(LoadDatabasesTest, NoDatabasesGiveAnEmptySet) {
  auto loaded = load_databases(ir::ModelGraph{}, std::nullopt);
  ASSERT_TRUE(std::holds_alternative<DatabaseSet>(loaded));
  EXPECT_TRUE(std::get<DatabaseSet>(loaded).standards.empty());
  EXPECT_TRUE(std::get<DatabaseSet>(loaded).fractionations.empty());
}

TEST(LoadDatabasesTest, MissingDatabaseFailsWithTheModelRelativePath) {
  testing::TempDir dir;
  dir.write("model/cr.ovdb", standard_file("crdb", "S"));
  dir.make_directory("env");
  testing::ScopedEnvironment env("OVM_DATABASES", (dir.path() / "env").c_str());
  auto loaded = load_databases(graph_naming({"cr.ovdb", "none.ovdb"}), dir.path() / "model");
  ASSERT_TRUE(std::holds_alternative<EngineError>(loaded));
  const EngineError& error = std::get<EngineError>(loaded);
  EXPECT_EQ(error.code, "OV105");
  std::string shown = (dir.path() / "model" / "none.ovdb").string();
  EXPECT_EQ(error.message.rfind(shown + ": ", 0), 0u) << error.message;
}

TEST(LoadDatabasesTest, FirstErrorEndsLoading) {
  testing::TempDir dir;
  fs::path bad = dir.write("model/db/x.ovdb", "[database]\novdb_version = \"2.0\"\n");
  dir.write("model/ok.ovdb", standard_file("ok", "S"));
  auto loaded = load_databases(graph_naming({"ok.ovdb", "db/x.ovdb", "missing.ovdb"}), dir.path() / "model");
  ASSERT_TRUE(std::holds_alternative<EngineError>(loaded));
  EXPECT_EQ(std::get<EngineError>(loaded), (EngineError{"OV105", bad.string() + ": OVDB format 2.0, expected 1.x"}));
}

}  // namespace
}  // namespace ovm::engine
