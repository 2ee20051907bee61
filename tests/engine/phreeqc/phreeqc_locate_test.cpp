#include "engine/phreeqc/phreeqc_locate.hpp"

#include <gtest/gtest.h>

#include <string>

#include "engine_test_support.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

void make_executable(const fs::path& file) { fs::permissions(file, fs::perms::owner_all); }

TEST(FindPhreeqcExecutableTest, TheVariableNamesARegularFileExactlyAsWritten) {
  testing::TempDir dir;
  dir.write("bin/phreeqc", "#!/bin/sh\n");
  std::string written = (dir.path() / "bin/../bin//phreeqc").string();
  testing::ScopedEnvironment variable("OVM_PHREEQC", written.c_str());
  std::optional<fs::path> found = find_phreeqc_executable();
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->string(), written);
}

TEST(FindPhreeqcExecutableTest, ASettingThatNamesNothingIsNeverPassedOverForTheProbe) {
  testing::TempDir dir;
  make_executable(dir.write("path/phreeqc.exe", "#!/bin/sh\n"));
  dir.write("path/phreeqc", "#!/bin/sh\n");  // not executable yet
  testing::ScopedEnvironment path("PATH", (dir.path() / "path").c_str());
  struct Case {
    fs::path named;
    std::string why;
  };
  for (const Case& test : {Case{dir.path(), "is a directory"}, Case{dir.path() / "missing", "does not exist"},
                           Case{"/dev/null", "is not a regular file"}}) {
    testing::ScopedEnvironment variable("OVM_PHREEQC", test.named.c_str());
    EXPECT_EQ(find_phreeqc_executable(), std::nullopt) << test.named;
    EXPECT_EQ(unusable_setting("OVM_PHREEQC"), "`OVM_PHREEQC` is set to `" + test.named.string() + "`, which " + test.why);
  }
  testing::ScopedEnvironment variable("OVM_PHREEQC", nullptr);
  EXPECT_EQ(unusable_setting("OVM_PHREEQC"), std::nullopt);
  EXPECT_EQ(find_phreeqc_executable(), fs::path("phreeqc.exe"));
  make_executable(dir.path() / "path/phreeqc");
  EXPECT_EQ(find_phreeqc_executable(), fs::path("phreeqc"));
}

TEST(FindPhreeqcExecutableTest, NothingWhenNeitherNameStarts) {
  testing::TempDir dir;
  testing::ScopedEnvironment variable("OVM_PHREEQC", (dir.path() / "phreeqc").c_str());
  testing::ScopedEnvironment path("PATH", dir.path().c_str());
  EXPECT_EQ(find_phreeqc_executable(), std::nullopt);
}

TEST(FindPhreeqcExecutableTest, AVariableThatIsNotUtf8IsPassedOver) {
  testing::TempDir dir;
  fs::path odd = dir.write("ph\xFF", "#!/bin/sh\n");
  testing::ScopedEnvironment variable("OVM_PHREEQC", odd.c_str());
  testing::ScopedEnvironment path("PATH", dir.path().c_str());
  EXPECT_EQ(find_phreeqc_executable(), std::nullopt);
}

TEST(FindPhreeqcDatabaseDirTest, SearchesTheExecutablesDirectoryAndThreeAncestors) {
  testing::TempDir dir;
  fs::path executable = dir.path() / "a/b/c/d/phreeqc";
  EXPECT_EQ(find_phreeqc_database_dir(executable), std::nullopt);
  dir.make_directory("database");  // the fifth directory up is too far
  EXPECT_EQ(find_phreeqc_database_dir(executable), std::nullopt);
  dir.make_directory("a/database");
  EXPECT_EQ(find_phreeqc_database_dir(executable), dir.path() / "a/database");
  dir.make_directory("a/b/c/database");
  EXPECT_EQ(find_phreeqc_database_dir(executable), dir.path() / "a/b/c/database");
  dir.write("a/b/c/d/database", "a file, not a directory");
  EXPECT_EQ(find_phreeqc_database_dir(executable), dir.path() / "a/b/c/database");
}

// `make install` puts the program in PREFIX/bin and the databases in
// PREFIX/share/doc/phreeqc/database; a program found on PATH is looked for where it lies.
TEST(FindPhreeqcDatabaseDirTest, AUnixInstallIsFoundBesideItsBinDirectory) {
  testing::TempDir dir;
  fs::path executable = dir.write("usr/local/bin/phreeqc", "#!/bin/sh\n");
  fs::path databases = dir.make_directory("usr/local/share/doc/phreeqc/database");
  EXPECT_EQ(find_phreeqc_database_dir(executable), databases);
  testing::ScopedEnvironment path("PATH", ("/nowhere:" + executable.parent_path().string()).c_str());
  EXPECT_EQ(find_phreeqc_database_dir("phreeqc"), databases);
  // A folder "database" beside the program comes first at each level.
  fs::path beside = dir.make_directory("usr/local/bin/database");
  EXPECT_EQ(find_phreeqc_database_dir("phreeqc"), beside);
}

TEST(FindPhreeqcDatabaseDirTest, ABareNameLooksOnlyInTheCurrentDirectory) {
  testing::ScopedEnvironment path("PATH", "/nowhere");
  // The test runs where no "database" directory is expected; a root path stops at the root.
  EXPECT_EQ(find_phreeqc_database_dir("/phreeqc"), std::nullopt);
  std::error_code error;
  if (fs::is_directory("database", error)) GTEST_SKIP() << "the current directory holds a database directory";
  EXPECT_EQ(find_phreeqc_database_dir("phreeqc"), std::nullopt);
}

TEST(AbsolutePathTest, JoinsRelativePathsToTheBaseAndTheCurrentDirectory) {
  fs::path current = fs::current_path();
  EXPECT_EQ(absolute_path(fs::path("/models"), "/data/in.pqi"), fs::path("/data/in.pqi"));
  EXPECT_EQ(absolute_path(fs::path("/models"), "in.pqi"), fs::path("/models/in.pqi"));
  EXPECT_EQ(absolute_path(fs::path("models"), "sub/in.pqi"), current / "models/sub/in.pqi");
  EXPECT_EQ(absolute_path(std::nullopt, "in.pqi"), current / "in.pqi");
}

class ChoosePhreeqcDatabaseTest : public ::testing::Test {
 protected:
  ChoosePhreeqcDatabaseTest()
      : no_database_variable_("OVM_PHREEQC_DATABASE", nullptr),
        executable_(dir_.path() / "install/bin/phreeqc"),
        model_(dir_.make_directory("model")) {}

  std::variant<fs::path, EngineError> choose(std::optional<std::string> name) {
    ir::Backend backend{"eq", ir::BackendKind::Phreeqc, "in.pqi", std::move(name), ir::BackendMode::Oneshot, {}};
    return choose_phreeqc_database(backend, model_, executable_);
  }

  testing::TempDir dir_;
  testing::ScopedEnvironment no_database_variable_;
  fs::path executable_;
  fs::path model_;
};

TEST_F(ChoosePhreeqcDatabaseTest, ABareNameIsTakenNearTheExecutableBeforeBesideTheModel) {
  dir_.write("model/llnl.dat", "model");
  EXPECT_EQ(std::get<fs::path>(choose("llnl.dat")), model_ / "llnl.dat");
  dir_.write("install/database/llnl.dat", "near");
  EXPECT_EQ(std::get<fs::path>(choose("llnl.dat")), dir_.path() / "install/database/llnl.dat");
}

TEST_F(ChoosePhreeqcDatabaseTest, ANameWithADirectoryPartIsTakenFromTheModel) {
  dir_.write("install/database/llnl.dat", "near");
  dir_.write("model/llnl.dat", "model");
  EXPECT_EQ(std::get<fs::path>(choose("./llnl.dat")), model_ / "./llnl.dat");
  EXPECT_EQ(std::get<EngineError>(choose("dbs\\llnl.dat")),
            (EngineError{"OV402", (model_ / "dbs\\llnl.dat").string() + " does not exist"}));
}

TEST_F(ChoosePhreeqcDatabaseTest, ANamedDatabaseMustExist) {
  dir_.make_directory("model/dir.dat");
  EXPECT_EQ(std::get<EngineError>(choose("missing.dat")),
            (EngineError{"OV402", (model_ / "missing.dat").string() + " does not exist"}));
  EXPECT_EQ(std::get<EngineError>(choose("dir.dat")), (EngineError{"OV402", (model_ / "dir.dat").string() + " does not exist"}));
}

TEST_F(ChoosePhreeqcDatabaseTest, WithoutANameTheVariableComesBeforeTheDefaultFile) {
  EXPECT_EQ(std::get<EngineError>(choose(std::nullopt)),
            (EngineError{"OV401", "no PHREEQC database found near " + executable_.string() +
                                      "; name one in the model or set OVM_PHREEQC_DATABASE"}));
  dir_.write("install/database/phreeqc.dat", "default");
  EXPECT_EQ(std::get<fs::path>(choose(std::nullopt)), dir_.path() / "install/database/phreeqc.dat");
  fs::path chosen = dir_.write("chosen.dat", "chosen");
  std::string written = (dir_.path() / "model/../chosen.dat").string();
  testing::ScopedEnvironment variable("OVM_PHREEQC_DATABASE", written.c_str());
  EXPECT_EQ(std::get<fs::path>(choose(std::nullopt)).string(), written);
  // A variable naming no file is an error, never passed over for the default file.
  fs::path none = dir_.path() / "none.dat";
  testing::ScopedEnvironment missing("OVM_PHREEQC_DATABASE", none.c_str());
  EXPECT_EQ(std::get<EngineError>(choose(std::nullopt)),
            (EngineError{"OV401", "`OVM_PHREEQC_DATABASE` is set to `" + none.string() +
                                      "`, which does not exist; set it to a PHREEQC database file or unset it"}));
}

}  // namespace
}  // namespace ovm::engine
