#include "engine/phreeqc/phreeqc_run.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

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
        seen_(dir_.make_directory("seen")),
        observe_("OBSERVE", seen_.c_str()),
        phreeqc_("OVM_PHREEQC", executable_.c_str()) {}

  // What the temporary directory holds: nothing once a run has ended.
  std::vector<fs::path> left_in_temporary() const {
    std::vector<fs::path> left;
    for (const auto& entry : fs::directory_iterator(dir_.path() / "tmp")) left.push_back(entry.path());
    return left;
  }

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
  fs::path seen_;  // where a stand-in script leaves what it saw: the work directory goes
  testing::ScopedEnvironment observe_;
  testing::ScopedEnvironment phreeqc_;
};

TEST_F(RunBackendsTest, AModelWithoutBackendsRunsNothing) {
  testing::ScopedEnvironment no_phreeqc("OVM_PHREEQC", nullptr);
  testing::ScopedEnvironment path("PATH", dir_.path().c_str());
  BackendResults done = results(run({}));
  EXPECT_TRUE(done.values.empty());
  EXPECT_TRUE(done.runs.empty());
  EXPECT_TRUE(left_in_temporary().empty());
}

TEST_F(RunBackendsTest, AOneshotBackendRunsInTheWorkDirectoryAndExportsTheLastRow) {
  ir::Backend calcite = backend("calcite",
                                "printf '%s\\n' \"$1\" \"$2\" \"$3\" > \"$OBSERVE/args.txt\"\n"
                                "pwd > \"$OBSERVE/cwd.txt\"\n"
                                "test -f phreeqc.log && echo log > \"$OBSERVE/log.txt\"\n"
                                "if read line; then echo \"$line\" > \"$OBSERVE/stdin.txt\"; fi\n"
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
  // The work directory is a fresh one under the temporary directory, and is gone afterwards.
  std::string cwd = read_file(seen_ / "cwd.txt");
  ASSERT_FALSE(cwd.empty());
  fs::path work = cwd.substr(0, cwd.size() - 1);
  EXPECT_EQ(work.parent_path(), fs::canonical(dir_.path() / "tmp"));
  EXPECT_EQ(work.filename().string().substr(0, 12), "ovm-phreeqc-");
  EXPECT_EQ(read_file(seen_ / "args.txt"),
            (model_ / "calcite.pqi").string() + "\n" + (work / "phreeqc.out").string() + "\n" + database_.string() + "\n");
  EXPECT_EQ(read_file(seen_ / "log.txt"), "log\n");
  EXPECT_FALSE(fs::exists(seen_ / "stdin.txt"));
  EXPECT_TRUE(left_in_temporary().empty());
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
           Case{"printf 'a\\n\\nb\\nc\\nd\\n' >&2\nexit 1\n", "`eq`: PHREEQC exited with exit code: 1: b / c / d"},
           Case{"printf '  x  y \\r\\n \\n' >&2\nexit 2\n", "`eq`: PHREEQC exited with exit code: 2:   x  y "},
           Case{"printf 'bad \\377 byte' >&2\nexit 3\n", "`eq`: PHREEQC exited with exit code: 3: bad \xEF\xBF\xBD byte"},
           Case{"printf 'only stdout\\n'\nexit 4\n", "`eq`: PHREEQC exited with exit code: 4"},
           Case{"kill -KILL $$\n", "`eq`: PHREEQC exited with signal: 9"},
       }) {
    EXPECT_EQ(error(run({backend("eq", c.script)})), (EngineError{"OV402", c.message})) << c.script;
  }
}

// As PHREEQC 3.8.9 ends on input errors: the ERROR lines and "Stopping." on standard error,
// the number of errors as exit status, a selected output holding only its header.
TEST_F(RunBackendsTest, InputErrorsAreQuotedFromPhreeqcsOwnLines) {
  ir::Backend bad = backend("bad",
                            "selected_output bad.sel sample k\n"
                            "input_error 'Concentration data error for ph in solution input.'\n"
                            "input_error 'Unknown option.'\n"
                            "input_error '  -pHx true'\n"
                            "input_error 'Unknown input in SELECTED_OUTPUT keyword.'\n");
  EXPECT_EQ(error(run({bad})),
            (EngineError{"OV402", "`bad`: PHREEQC exited with exit code: 4: ERROR: Concentration data error for ph in "
                                  "solution input. / ERROR: Unknown option. / ERROR:   -pHx true"}));
  EXPECT_TRUE(left_in_temporary().empty());
}

// PHREEQC asks for another name for ever when it cannot open a file; the run ends at once
// instead of waiting for the time limit.
TEST_F(RunBackendsTest, APromptForAnotherFileNameEndsTheRunAtOnce) {
  auto started_at = std::chrono::steady_clock::now();
  EXPECT_EQ(error(run({backend("inc", "ask_for_ever input extra.pqi\n")})).message,
            "`inc`: PHREEQC could not open extra.pqi and stopped to ask for another name; it was ended");
  EXPECT_EQ(error(run({backend("db", "ask_for_ever database ''\n")})).message,
            "`db`: PHREEQC could not open " + database_.string() + " and stopped to ask for another name; it was ended");
  EXPECT_LT(std::chrono::steady_clock::now() - started_at, milliseconds(30000));
  EXPECT_TRUE(left_in_temporary().empty());

  // A database that cannot be opened is refused before PHREEQC starts.
  ir::Backend folder = backend("folder", "");
  folder.database = dir_.make_directory("model/db.dat").string();
  EXPECT_EQ(error(run({folder})).code, "OV402");
}

// Whether the process is gone (or only waits to be reaped by init).
bool ended(pid_t pid) {
  for (int tries = 0; tries < 200; ++tries) {
    if (::kill(pid, 0) != 0 && errno == ESRCH) return true;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pid_text, name, state;
    if (stat >> pid_text >> name >> state && state == "Z") return true;
    std::this_thread::sleep_for(milliseconds(10));
  }
  return false;
}

pid_t pid_in(const fs::path& file) {
  std::ifstream in(file);
  pid_t pid = 0;
  in >> pid;
  return pid;
}

// What PHREEQC starts is ended with it, at the time limit and after a normal end alike.
TEST_F(RunBackendsTest, WhatPhreeqcStartedEndsWithIt) {
  std::string leave_a_child = "sleep 30 &\necho $! > \"$OBSERVE/child.txt\"\n";
  EXPECT_EQ(error(run({backend("slow", leave_a_child + "exec sleep 30\n")}, milliseconds(300))).code, "OV403");
  pid_t timed_out = pid_in(seen_ / "child.txt");
  ASSERT_GT(timed_out, 0);
  EXPECT_TRUE(ended(timed_out));

  EXPECT_EQ(results(run({backend("quick", leave_a_child + "printf 'Ca\\n1\\n' > a.sel\n")})).runs.size(), 1u);
  pid_t finished = pid_in(seen_ / "child.txt");
  ASSERT_GT(finished, 0);
  EXPECT_TRUE(ended(finished));
  EXPECT_TRUE(left_in_temporary().empty());
}

// SIGTERM during a backend ends PHREEQC with what it started, removes the work directory and
// then ends ovm by that signal.
TEST_F(RunBackendsTest, ASignalEndsPhreeqcAndRemovesTheWorkDirectory) {
  ir::Backend slow = backend("slow", "sleep 30 &\necho $! > \"$OBSERVE/child.txt\"\nexec sleep 30\n");
  pid_t runner = ::fork();
  ASSERT_GE(runner, 0);
  if (runner == 0) {
    ir::ModelGraph graph;
    graph.backends = {slow};
    run_backends_within(graph, model_, milliseconds(20000));
    ::_exit(0);  // not reached: the signal ends the process
  }
  for (int tries = 0; tries < 500 && !fs::exists(seen_ / "child.txt"); ++tries) std::this_thread::sleep_for(milliseconds(10));
  std::this_thread::sleep_for(milliseconds(100));
  ::kill(runner, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(runner, &status, 0), runner);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  pid_t child = pid_in(seen_ / "child.txt");
  ASSERT_GT(child, 0);
  EXPECT_TRUE(ended(child));
  EXPECT_TRUE(left_in_temporary().empty());
}

TEST_F(RunBackendsTest, ErrorLinesInTheOutputFileRefuseTheInput) {
  ir::Backend refused = backend("eq",
                                "printf 'Reading\\nerror: lower case\\n   ERROR: bad input\\nERROR: again  \\n' > \"$2\"\n"
                                "printf 'Ca\\n1\\n' > a.sel\n");
  EXPECT_EQ(error(run({refused})), (EngineError{"OV402", "`eq`: PHREEQC refused its input: ERROR: bad input / ERROR: again"}));
}

TEST_F(RunBackendsTest, AnOutputFileThatCannotBeReadSaysNothing) {
  ir::Backend eq = backend("eq", "rm -f \"$2\"; mkdir \"$2\"\nprintf 'Ca\\n1\\n' > a.sel\n");
  EXPECT_EQ(results(run({eq})).runs.size(), 1u);
  // An ERROR line is shown even where the output file is not UTF-8, with the bytes replaced.
  ir::Backend odd = backend("odd", "printf 'ERROR: \\377\\n' > \"$2\"\nprintf 'Ca\\n1\\n' > a.sel\n");
  EXPECT_EQ(error(run({odd})), (EngineError{"OV402", "`odd`: PHREEQC refused its input: ERROR: \xEF\xBF\xBD"}));
}

TEST_F(RunBackendsTest, AProgramPastTheLimitIsStopped) {
  auto started_at = std::chrono::steady_clock::now();
  EngineError stopped = error(run({backend("slow", "exec sleep 30\n")}, milliseconds(300)));
  EXPECT_LT(std::chrono::steady_clock::now() - started_at, milliseconds(10000));
  EngineError timeout = phreeqc_timeout_error(milliseconds(300));
  EXPECT_EQ(stopped, (EngineError{timeout.code, "`slow`: " + timeout.message}));
  EXPECT_EQ(stopped.code, "OV403");
  EXPECT_EQ(phreeqc_timeout_error(phreeqc_time_limit),
            (EngineError{"OV403", "PHREEQC did not finish within 120 s and was stopped;" + std::string(30, ' ') +
                                      "it usually means it could not open a file and waited for one"}));
}

TEST_F(RunBackendsTest, MissingPiecesEndTheRun) {
  ir::Backend missing_input{"eq", ir::BackendKind::Phreeqc, "missing.pqi", std::nullopt, ir::BackendMode::Oneshot, {}};
  EXPECT_EQ(error(run({missing_input})), (EngineError{"OV402", "`eq`: " + (model_ / "missing.pqi").string() + " does not exist"}));
  ir::Backend missing_database = backend("eq", "");
  missing_database.database = "none.dat";
  EXPECT_EQ(error(run({missing_database})), (EngineError{"OV402", "`eq`: " + (model_ / "none.dat").string() + " does not exist"}));
  EXPECT_EQ(error(run({backend("quiet", "echo 'nothing selected' > \"$2\"\n")})),
            (EngineError{"OV402", "`quiet` wrote no selected output; the input needs a SELECTED_OUTPUT block for its "
                                  "results to reach the model"}));
  fs::remove(database_);
  EXPECT_EQ(error(run({backend("eq", "")})),
            (EngineError{"OV401", "`eq`: no PHREEQC database found near " + executable_.string() +
                                      "; name one in the model or set OVM_PHREEQC_DATABASE"}));
  testing::ScopedEnvironment no_phreeqc("OVM_PHREEQC", nullptr);
  testing::ScopedEnvironment path("PATH", dir_.path().c_str());
  EXPECT_EQ(error(run({backend("calcite", "")})),
            (EngineError{"OV401", "`calcite` needs PHREEQC and no executable was found; set OVM_PHREEQC to its path"}));
}

// A setting that names nothing ends the backend rather than running another program or
// database.
TEST_F(RunBackendsTest, SettingsThatNameNothingAreErrors) {
  fs::path typo = dir_.path() / "install/bin/phreeqx";
  {
    testing::ScopedEnvironment phreeqc("OVM_PHREEQC", typo.c_str());
    EXPECT_EQ(error(run({backend("eq", "")})),
              (EngineError{"OV401", "`eq`: `OVM_PHREEQC` is set to `" + typo.string() +
                                        "`, which does not exist; set it to the PHREEQC executable or unset it"}));
  }
  fs::path folder = dir_.make_directory("databases");
  testing::ScopedEnvironment database("OVM_PHREEQC_DATABASE", folder.c_str());
  EXPECT_EQ(error(run({backend("eq", "")})),
            (EngineError{"OV401", "`eq`: `OVM_PHREEQC_DATABASE` is set to `" + folder.string() +
                                      "`, which is a directory; set it to a PHREEQC database file or unset it"}));
  // A database the backend names itself does not read the variable.
  ir::Backend named = backend("named", "printf 'Ca\\n1\\n' > a.sel\n");
  named.database = database_.string();
  EXPECT_EQ(results(run({named})).runs.size(), 1u);
}

// A DATABASE keyword in the input overrides the database PHREEQC is handed; the run records
// the one PHREEQC names on the "Database file:" line of its output, read from where it ran.
TEST_F(RunBackendsTest, TheDatabaseThePhreeqcInputChoseIsRecorded) {
  fs::path other = dir_.write("other.dat", "abc");
  BackendResults done =
      results(run({backend("eq", "use_database '" + other.string() + "'\nprintf 'Ca\\n1\\n' > a.sel\n")}));
  ASSERT_EQ(done.runs.size(), 1u);
  EXPECT_EQ(done.runs[0].database, other.string());
  EXPECT_EQ(done.runs[0].database_sha256, database_digest);
  // Naming the same database changes nothing.
  BackendResults same = results(run({backend("eq", "use_database \"$3\"\nprintf 'Ca\\n1\\n' > a.sel\n")}));
  ASSERT_EQ(same.runs.size(), 1u);
  EXPECT_EQ(same.runs[0].database, database_.string());
}

// A selected output the input names with -file but not as a .sel file in the work directory.
TEST_F(RunBackendsTest, ASelectedOutputNamedWithoutSelIsExplained) {
  EXPECT_EQ(error(run({backend("calcite",
                              ": <<'PQI'\nSELECTED_OUTPUT 1\n  -file results.txt\nPQI\n"
                              "printf 'Ca\\n1\\n' > results.txt\n")})).message,
            "`calcite` wrote no selected output where ovm reads it: its input names `results.txt` with -file; give "
            "-file a name without a folder that ends in .sel");
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
  ir::Backend second = backend("second",
                               "printf 'Ca\\n2\\n' > z.sel\n"
                               "read kept < kept.txt; echo \"$kept\" > \"$OBSERVE/seen.txt\"\n"
                               "test -e a.sel || echo gone > \"$OBSERVE/a.txt\"\n",
                               {"Ca", "Ca"});
  BackendResults done = results(run({first, second}));
  ASSERT_EQ(done.runs.size(), 2u);
  EXPECT_EQ(done.runs[0].exports.at("Ca"), 1.0);
  EXPECT_EQ(done.runs[1].exports.at("Ca"), 2.0);
  EXPECT_EQ(done.values, (std::vector<BackendExportValue>{{BackendExportValue::Oneshot{ir::ParameterId{0}, 1.0}},
                                                          {BackendExportValue::Oneshot{ir::ParameterId{0}, 2.0}},
                                                          {BackendExportValue::Oneshot{ir::ParameterId{1}, 2.0}}}));
  EXPECT_EQ(read_file(seen_ / "a.txt"), "gone\n");
  EXPECT_EQ(read_file(seen_ / "seen.txt"), "first\n");
  EXPECT_TRUE(left_in_temporary().empty());
  // A later run of a backend that writes nothing does not read what an earlier one left.
  EXPECT_EQ(error(run({backend("again", "")})).message,
            "`again` wrote no selected output; the input needs a SELECTED_OUTPUT block for its results to reach the model");
  // The first failure ends the call, whatever ran before it.
  EXPECT_EQ(error(run({backend("good", "printf 'Ca\\n1\\n' > a.sel\n"), backend("bad", "exit 5\n")})).message,
            "`bad`: PHREEQC exited with exit code: 5");
  EXPECT_TRUE(left_in_temporary().empty());
}

TEST_F(RunBackendsTest, TheWorkDirectoryIsMadeUnderATemporaryDirectoryWithItsMissingParents) {
  fs::path fresh = dir_.path() / "fresh/tmp";
  testing::ScopedEnvironment temporary("TMPDIR", fresh.c_str());
  ir::Backend eq = backend("eq", "printf 'Ca\\n1\\n' > a.sel\npwd > \"$OBSERVE/cwd.txt\"\n");
  EXPECT_EQ(results(run({eq})).runs.size(), 1u);
  EXPECT_EQ(fs::path(read_file(seen_ / "cwd.txt")).parent_path(), fs::canonical(fresh));
  EXPECT_TRUE(fs::is_empty(fresh));
  // A temporary directory that is a file cannot hold one.
  fs::path file = dir_.write("plain", "");
  testing::ScopedEnvironment blocked("TMPDIR", file.c_str());
  EngineError failed = error(run({backend("eq", "")}));
  EXPECT_EQ(failed.code, "OV402");
  std::string named = "`eq`: " + (file / "ovm-phreeqc-XXXXXX").string() + ": ";
  EXPECT_EQ(failed.message.substr(0, named.size()), named);
  EXPECT_GT(failed.message.size(), named.size());
}

// A relative temporary directory still gives the child absolute paths.
TEST_F(RunBackendsTest, ARelativeTemporaryDirectoryGivesAbsolutePaths) {
  fs::path current = fs::current_path();
  fs::current_path(dir_.path());
  testing::ScopedEnvironment temporary("TMPDIR", "tmp");
  ir::Backend eq = backend("eq", "printf 'Ca\\n1\\n' > a.sel\nprintf '%s\\n' \"$2\" > \"$OBSERVE/out.txt\"\n");
  std::variant<BackendResults, EngineError> ran = run({eq});
  fs::current_path(current);
  EXPECT_EQ(results(std::move(ran)).runs.size(), 1u);
  std::string output = read_file(seen_ / "out.txt");
  EXPECT_TRUE(fs::path(output).is_absolute()) << output;
  EXPECT_EQ(output.substr(0, (dir_.path() / "tmp").string().size()), (dir_.path() / "tmp").string());
  EXPECT_TRUE(left_in_temporary().empty());
}

// The work directory is private to the run, and what an earlier run left, or somebody
// planted, at an older fixed name is never used or removed.
TEST_F(RunBackendsTest, TheWorkDirectoryIsPrivateAndNothingPlantedIsFollowed) {
  fs::path elsewhere = dir_.make_directory("elsewhere");
  dir_.write("elsewhere/keep.sel", "Ca\n9\n");
  fs::create_directory_symlink(elsewhere, dir_.path() / "tmp" / ("ovm-phreeqc-" + std::to_string(::getpid())));
  ir::Backend eq = backend("eq",
                           "printf 'Ca\\n1\\n' > a.sel\n"
                           "ls -ld . > \"$OBSERVE/mode.txt\"\n"
                           "pwd > \"$OBSERVE/cwd.txt\"\n");
  BackendResults done = results(run({eq}));
  ASSERT_EQ(done.runs.size(), 1u);
  EXPECT_EQ(done.runs[0].exports.at("Ca"), 1.0);
  EXPECT_TRUE(fs::exists(elsewhere / "keep.sel"));
  EXPECT_EQ(left_in_temporary().size(), 1u);  // only the planted link
  EXPECT_EQ(read_file(seen_ / "mode.txt").substr(0, 10), "drwx------");
  std::string cwd = read_file(seen_ / "cwd.txt");
  EXPECT_NE(fs::path(cwd.substr(0, cwd.size() - 1)), fs::canonical(elsewhere));
}

TEST_F(RunBackendsTest, OnlyFilesAreRemovedAsStaleSelectedOutputs) {
  ir::Backend first = backend("first",
                              "printf 'Ca\\n1\\n' > a.sel\nmkdir old.sel\nmkdir full.sel\n"
                              "echo kept > full.sel/inner.txt\nprintf 'Ca\\n9\\n' > Stale.SEL\n");
  ir::Backend second = backend("second",
                               "test -e Stale.SEL || echo gone > \"$OBSERVE/stale.txt\"\n"
                               "test -d old.sel && test -f full.sel/inner.txt && echo kept > \"$OBSERVE/dirs.txt\"\n"
                               "printf 'Ca\\n2\\n' > b.sel\n");
  BackendResults done = results(run({first, second}));
  ASSERT_EQ(done.runs.size(), 2u);
  EXPECT_EQ(done.runs[1].exports.at("Ca"), 2.0);
  EXPECT_EQ(read_file(seen_ / "stale.txt"), "gone\n");
  EXPECT_EQ(read_file(seen_ / "dirs.txt"), "kept\n");
  EXPECT_TRUE(left_in_temporary().empty());
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
