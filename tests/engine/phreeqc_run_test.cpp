#include "engine/phreeqc_run.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine_test_support.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// SHA-256 of "abc", the stand-in database's bytes.
constexpr const char* database_digest = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A PHREEQC installation of the stand-in script with its default database, a model directory
// and a temporary directory of the test's own.
class RunBackendsTest : public ::testing::Test {
 protected:
  RunBackendsTest()
      : temporary_("TMPDIR", dir_.make_directory("tmp").c_str()),
        no_database_variable_("OVM_PHREEQC_DATABASE", nullptr),
        executable_(dir_.install_phreeqc_stand_in("install/bin/phreeqc")),
        database_(dir_.write("install/database/phreeqc.dat", "abc")),
        model_(dir_.make_directory("model")),
        work_(dir_.path() / "tmp" / ("ovm-phreeqc-" + std::to_string(::getpid()))),
        phreeqc_("OVM_PHREEQC", executable_.c_str()) {}

  // A backend whose input file holds `script`, run by the stand-in.
  ir::Backend backend(const std::string& name, const std::string& script,
                      const std::vector<std::string>& columns = {"Ca"},
                      ir::BackendMode mode = ir::BackendMode::Oneshot) {
    dir_.write("model/" + name + ".pqi", script);
    ir::Backend result{name, ir::BackendKind::Phreeqc, name + ".pqi", std::nullopt, mode, {}};
    for (std::size_t i = 0; i < columns.size(); ++i) {
      result.exports.push_back(ir::BackendExport{columns[i], ir::ParameterId{static_cast<std::uint32_t>(i)}});
    }
    return result;
  }

  std::variant<BackendResults, EngineError> run(std::vector<ir::Backend> backends,
                                                milliseconds limit = phreeqc_time_limit) {
    ir::ModelGraph graph;
    graph.backends = std::move(backends);
    return run_backends_within(graph, model_, limit);
  }

  static BackendResults results(std::variant<BackendResults, EngineError> ran) {
    if (const auto* error = std::get_if<EngineError>(&ran)) ADD_FAILURE() << error->code << ": " << error->message;
    if (auto* done = std::get_if<BackendResults>(&ran)) return std::move(*done);
    return {};
  }

  static EngineError error(const std::variant<BackendResults, EngineError>& ran) {
    if (const auto* failed = std::get_if<EngineError>(&ran)) return *failed;
    ADD_FAILURE() << "the run succeeded";
    return {};
  }

  testing::TempDir dir_;
  testing::ScopedEnvironment temporary_;
  testing::ScopedEnvironment no_database_variable_;
  fs::path executable_;
  fs::path database_;
  fs::path model_;
  fs::path work_;
  testing::ScopedEnvironment phreeqc_;
};

TEST_F(RunBackendsTest, AModelWithoutBackendsRunsNothing) {
  testing::ScopedEnvironment no_phreeqc("OVM_PHREEQC", nullptr);
  testing::ScopedEnvironment path("PATH", dir_.path().c_str());
  BackendResults done = results(run({}));
  EXPECT_TRUE(done.values.empty());
  EXPECT_TRUE(done.runs.empty());
  EXPECT_FALSE(fs::exists(work_));
}

TEST_F(RunBackendsTest, AOneshotBackendRunsInTheWorkDirectoryAndExportsTheLastRow) {
  ir::Backend calcite = backend("calcite",
                                "printf '%s\\n' \"$1\" \"$2\" \"$3\" > args.txt\n"
                                "pwd > cwd.txt\n"
                                "if read line; then echo \"$line\" > stdin.txt; fi\n"
                                "echo 'progress' \n"
                                "printf 'sim state time Ca Mg\\n0 init 0 0.1 1\\n1 react 120 0.5 2\\n' > calcite.sel\n"
                                "echo 'Reading input data for simulation 1.' > \"$2\"\n",
                                {"Ca", "time"});
  BackendResults done = results(run({calcite}));
  ASSERT_EQ(done.runs.size(), 1u);
  EXPECT_EQ(done.runs[0].name, "calcite");
  EXPECT_EQ(done.runs[0].kind, "phreeqc");
  EXPECT_EQ(done.runs[0].executable, executable_.string());
  EXPECT_EQ(done.runs[0].database, database_.string());
  EXPECT_EQ(done.runs[0].database_sha256, database_digest);
  EXPECT_EQ(done.runs[0].exports, (std::map<std::string, double>{{"Ca", 0.5}, {"time", 120.0}}));
  EXPECT_EQ(done.values, (std::vector<BackendExportValue>{{BackendExportValue::Oneshot{ir::ParameterId{0}, 0.5}},
                                                          {BackendExportValue::Oneshot{ir::ParameterId{1}, 120.0}}}));
  EXPECT_EQ(read_file(work_ / "args.txt"),
            (model_ / "calcite.pqi").string() + "\n" + (work_ / "phreeqc.out").string() + "\n" + database_.string() + "\n");
  EXPECT_EQ(read_file(work_ / "cwd.txt"), fs::canonical(work_).string() + "\n");
  EXPECT_FALSE(fs::exists(work_ / "stdin.txt"));
}

TEST_F(RunBackendsTest, ASeriesBackendExportsEveryRowInTimeOrder) {
  ir::Backend kinetics = backend("kinetics",
                                 "printf 'step time Ca\\n1 0 0.3\\n2 60 0.2\\n3 30 0.25\\n' > k.sel\n",
                                 {"Ca"}, ir::BackendMode::Series);
  BackendResults done = results(run({kinetics}));
  EXPECT_EQ(done.values, (std::vector<BackendExportValue>{
                             {BackendExportValue::Series{ir::ParameterId{0}, {{0.0, 0.3}, {30.0, 0.25}, {60.0, 0.2}}}}}));
  ASSERT_EQ(done.runs.size(), 1u);
  EXPECT_EQ(done.runs[0].exports, (std::map<std::string, double>{{"Ca", 0.25}}));
}

TEST_F(RunBackendsTest, ANonZeroExitShowsTheLastLinesOfStandardError) {
  struct Case {
    std::string script;
    std::string message;
  };
  for (const Case& c : {
           Case{"printf 'a\\n\\nb\\nc\\nd\\n' >&2\nexit 1\n", "PHREEQC exited with exit code: 1: b / c / d"},
           Case{"printf '  x  y \\r\\n \\n' >&2\nexit 2\n", "PHREEQC exited with exit code: 2:   x  y "},
           Case{"printf 'bad \\377 byte' >&2\nexit 3\n", "PHREEQC exited with exit code: 3: bad \xEF\xBF\xBD byte"},
           Case{"printf 'only stdout\\n'\nexit 4\n", "PHREEQC exited with exit code: 4"},
           Case{"kill -KILL $$\n", "PHREEQC exited with signal: 9"},
       }) {
    EXPECT_EQ(error(run({backend("eq", c.script)})), (EngineError{"OV402", c.message})) << c.script;
  }
}

TEST_F(RunBackendsTest, ErrorLinesInTheOutputFileRefuseTheInput) {
  ir::Backend refused = backend("eq",
                                "printf 'Reading\\nerror: lower case\\n   ERROR: bad input\\nERROR: again  \\n' > \"$2\"\n"
                                "printf 'Ca\\n1\\n' > a.sel\n");
  EXPECT_EQ(error(run({refused})), (EngineError{"OV402", "PHREEQC refused its input: ERROR: bad input / ERROR: again"}));
}

TEST_F(RunBackendsTest, AnOutputFileThatCannotBeReadSaysNothing) {
  ir::Backend eq = backend("eq", "rm -f \"$2\"; mkdir \"$2\"\nprintf 'Ca\\n1\\n' > a.sel\n");
  EXPECT_EQ(results(run({eq})).runs.size(), 1u);
  fs::remove(work_ / "phreeqc.out");
  ir::Backend odd = backend("odd", "printf 'ERROR: \\377\\n' > \"$2\"\nprintf 'Ca\\n1\\n' > a.sel\n");
  EXPECT_EQ(results(run({odd})).runs.size(), 1u);
}

TEST_F(RunBackendsTest, AProgramPastTheLimitIsStopped) {
  auto started_at = std::chrono::steady_clock::now();
  EngineError stopped = error(run({backend("slow", "exec sleep 30\n")}, milliseconds(300)));
  EXPECT_LT(std::chrono::steady_clock::now() - started_at, milliseconds(10000));
  EXPECT_EQ(stopped, phreeqc_timeout_error(milliseconds(300)));
  EXPECT_EQ(stopped.code, "OV403");
  EXPECT_EQ(phreeqc_timeout_error(phreeqc_time_limit),
            (EngineError{"OV403", "PHREEQC did not finish within 120 s and was stopped;" + std::string(30, ' ') +
                                      "it usually means it could not open a file and waited for one"}));
}

TEST_F(RunBackendsTest, MissingPiecesEndTheRun) {
  ir::Backend missing_input{"eq", ir::BackendKind::Phreeqc, "missing.pqi", std::nullopt, ir::BackendMode::Oneshot, {}};
  EXPECT_EQ(error(run({missing_input})), (EngineError{"OV402", (model_ / "missing.pqi").string() + " does not exist"}));
  ir::Backend missing_database = backend("eq", "");
  missing_database.database = "none.dat";
  EXPECT_EQ(error(run({missing_database})), (EngineError{"OV402", (model_ / "none.dat").string() + " does not exist"}));
  EXPECT_EQ(error(run({backend("quiet", "echo 'nothing selected' > \"$2\"\n")})),
            (EngineError{"OV402", "`quiet` wrote no selected output; the input needs a SELECTED_OUTPUT block for its "
                                  "results to reach the model"}));
  fs::remove(database_);
  EXPECT_EQ(error(run({backend("eq", "")})),
            (EngineError{"OV401", "no PHREEQC database found near " + executable_.string() +
                                      "; name one in the model or set OVM_PHREEQC_DATABASE"}));
  testing::ScopedEnvironment no_phreeqc("OVM_PHREEQC", nullptr);
  testing::ScopedEnvironment path("PATH", dir_.path().c_str());
  EXPECT_EQ(error(run({backend("calcite", "")})),
            (EngineError{"OV401", "`calcite` needs PHREEQC and no executable was found; set OVM_PHREEQC to its path"}));
}

TEST_F(RunBackendsTest, ADatabaseGoneWhenItIsHashedHasNoDigest) {
  BackendResults done = results(run({backend("eq", "rm \"$3\"\nprintf 'Ca\\n1\\n' > a.sel\n")}));
  ASSERT_EQ(done.runs.size(), 1u);
  EXPECT_EQ(done.runs[0].database, database_.string());
  EXPECT_EQ(done.runs[0].database_sha256, std::nullopt);
}

// The child runs in the work directory: a database named relative to the current directory
// must still be the one it opens.
TEST_F(RunBackendsTest, ARelativeDatabaseIsFoundFromTheWorkDirectory) {
  dir_.write("mine.dat", "abc");
  fs::path current = fs::current_path();
  fs::current_path(dir_.path());
  testing::ScopedEnvironment database("OVM_PHREEQC_DATABASE", "mine.dat");
  std::variant<BackendResults, EngineError> ran = run({backend("eq", "printf 'Ca\\n1\\n' > a.sel\n")});
  fs::current_path(current);
  BackendResults done = results(std::move(ran));
  ASSERT_EQ(done.runs.size(), 1u);
  EXPECT_EQ(done.runs[0].database, "mine.dat");
  EXPECT_EQ(done.runs[0].database_sha256, database_digest);
}

TEST_F(RunBackendsTest, BackendsShareTheWorkDirectoryWithoutEarlierSelectedOutputs) {
  ir::Backend first = backend("first", "printf 'Ca\\n1\\n' > a.sel\necho first > kept.txt\n");
  ir::Backend second = backend("second", "printf 'Ca\\n2\\n' > z.sel\ncat kept.txt > seen.txt\n", {"Ca", "Ca"});
  BackendResults done = results(run({first, second}));
  ASSERT_EQ(done.runs.size(), 2u);
  EXPECT_EQ(done.runs[0].exports.at("Ca"), 1.0);
  EXPECT_EQ(done.runs[1].exports.at("Ca"), 2.0);
  EXPECT_EQ(done.values, (std::vector<BackendExportValue>{{BackendExportValue::Oneshot{ir::ParameterId{0}, 1.0}},
                                                          {BackendExportValue::Oneshot{ir::ParameterId{0}, 2.0}},
                                                          {BackendExportValue::Oneshot{ir::ParameterId{1}, 2.0}}}));
  EXPECT_FALSE(fs::exists(work_ / "a.sel"));
  EXPECT_EQ(read_file(work_ / "seen.txt"), "first\n");
  // A later run of a backend that writes nothing does not read what an earlier one left.
  EXPECT_EQ(error(run({backend("again", "")})).message,
            "`again` wrote no selected output; the input needs a SELECTED_OUTPUT block for its results to reach the model");
  // The first failure ends the call, whatever ran before it.
  EXPECT_EQ(error(run({backend("good", "printf 'Ca\\n1\\n' > a.sel\n"), backend("bad", "exit 5\n")})).message, "PHREEQC exited with exit code: 5");
}

TEST_F(RunBackendsTest, TheWorkDirectoryIsCreatedWithItsMissingParents) {
  fs::path fresh = dir_.path() / "fresh/tmp";
  testing::ScopedEnvironment temporary("TMPDIR", fresh.c_str());
  EXPECT_EQ(results(run({backend("eq", "printf 'Ca\\n1\\n' > a.sel\n")})).runs.size(), 1u);
  EXPECT_TRUE(fs::is_regular_file(fresh / work_.filename() / "a.sel"));
  // A temporary directory that is a file cannot hold one.
  fs::path file = dir_.write("plain", "");
  testing::ScopedEnvironment blocked("TMPDIR", file.c_str());
  EngineError failed = error(run({backend("eq", "")}));
  EXPECT_EQ(failed.code, "OV402");
  std::string named = (file / work_.filename()).string() + ": ";
  EXPECT_EQ(failed.message.substr(0, named.size()), named);
  EXPECT_GT(failed.message.size(), named.size());
}

TEST_F(RunBackendsTest, OnlyFilesAreRemovedAsStaleSelectedOutputs) {
  std::string work = "tmp/" + work_.filename().string();
  dir_.make_directory(work + "/old.sel");
  dir_.write(work + "/full.sel/inner.txt", "kept");
  dir_.write(work + "/Stale.SEL", "Ca\n9\n");
  BackendResults done = results(run({backend("eq", "printf 'Ca\\n1\\n' > a.sel\n")}));
  ASSERT_EQ(done.runs.size(), 1u);
  EXPECT_EQ(done.runs[0].exports.at("Ca"), 1.0);
  EXPECT_FALSE(fs::exists(work_ / "Stale.SEL"));
  EXPECT_TRUE(fs::is_directory(work_ / "old.sel"));
  EXPECT_TRUE(fs::is_regular_file(work_ / "full.sel/inner.txt"));
}

TEST_F(RunBackendsTest, AProbedExecutableIsRecordedByItsBareName) {
  fs::path bin = dir_.install_phreeqc_stand_in("path/phreeqc").parent_path();
  testing::ScopedEnvironment no_phreeqc("OVM_PHREEQC", nullptr);
  testing::ScopedEnvironment path("PATH", bin.c_str());
  ir::Backend eq = backend("eq", "printf 'Ca\\n3\\n' > a.sel\n");
  eq.database = database_.string();
  BackendResults done = results(run({eq}));
  ASSERT_EQ(done.runs.size(), 1u);
  EXPECT_EQ(done.runs[0].executable, "phreeqc");
  EXPECT_EQ(done.runs[0].database_sha256, database_digest);
}

}  // namespace
}  // namespace ovm::engine
