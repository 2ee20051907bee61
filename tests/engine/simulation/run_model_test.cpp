#include "engine/simulation/run_model.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine_test_support.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

const std::string digest(64, 'a');

// A model run in a directory of its own, with the PHREEQC stand-in script installed beside a
// default database and no isotope database on the search path.
class RunModelTest : public ::testing::Test {
 protected:
  RunModelTest()
      : temporary_("TMPDIR", dir_.make_directory("tmp").c_str()),
        no_database_variable_("OVM_PHREEQC_DATABASE", nullptr),
        no_databases_("OVM_DATABASES", nullptr),
        executable_(dir_.install_phreeqc_stand_in("install/bin/phreeqc")),
        database_(dir_.write("install/database/phreeqc.dat", "abc")),
        model_directory_(dir_.make_directory("model")),
        phreeqc_("OVM_PHREEQC", executable_.c_str()) {}

  // Reservoir "tank" holds 8 of Cr(VI) whose 53Cr/52Cr ratio is written twice, 0.5 and then
  // 0.375, against a standard of 0.25. A reduction of rate 0 runs in 30 s steps to 60 s; the
  // outputs are the clock, the amount and the pool's delta.
  static ir::ModelGraph tank_model() {
    ir::ModelGraph model;
    model.provenance.ir_version = "1.3";
    model.provenance.source_path = "tank.ovm";
    model.provenance.source_sha256 = digest;
    model.species = {ir::Species{0, "Cr(VI)", "Cr"}, ir::Species{1, "Cr(III)", "Cr"}};
    model.isotopes.push_back(ir::IsotopeSystem{0, "53Cr/52Cr", "Cr", 53, 52, ir::Standard{"SRM979", 0.25, {}}, false});
    ir::Reservoir tank;
    tank.name = "tank";
    tank.pools.push_back(ir::Pool{0, ir::Amount{ir::Amount::Molality{8}}, {{0, 0.5}, {0, 0.375}}, {}});
    model.reservoirs.push_back(tank);
    ir::Process reduction;
    reduction.name = "reduction";
    reduction.kind.kind = ir::ProcessKind::Transfer{0, 1, ir::Mechanism::Reduction};
    reduction.from = 0;
    reduction.kinetics = ir::Kinetics{ir::RateLaw{ir::RateLaw::FirstOrder{ir::constant_expr(0)}}};
    model.processes.push_back(std::move(reduction));
    ir::Simulation simulation;
    simulation.name = "run";
    simulation.reservoirs = {0};
    simulation.processes = {0};
    simulation.step_seconds = 30;
    simulation.stop = ir::StopCondition{{}, ir::Comparison::GreaterEqual, 60};
    model.simulation = simulation;
    model.outputs = {ir::Output{{ir::Variable::Time{}}, "time"}, ir::Output{{ir::Variable::Amount{0, 0}}, "tank.Cr(VI)"},
                     ir::Output{{ir::Variable::PoolComposition{0, 0, 0}}, "tank.Cr(VI).d53Cr"}};
    return model;
  }

  // Adds a model-wide parameter without value, recorded as the last output, and returns its id.
  static ir::ParameterId add_recorded_parameter(ir::ModelGraph& model, const std::string& name) {
    ir::ParameterId id{static_cast<std::uint32_t>(model.parameters.size())};
    model.parameters.push_back(ir::Parameter{id, name, std::nullopt, std::nullopt});
    model.outputs.push_back(ir::Output{{ir::Variable::Parameter{id}}, name});
    return id;
  }

  // A backend whose input file, run by the stand-in, holds `script`; it exports Ca into `into`.
  ir::Backend backend(const std::string& name, const std::string& script, ir::ParameterId into,
                      ir::BackendMode mode = ir::BackendMode::Oneshot) {
    dir_.write("model/" + name + ".pqi", script);
    return ir::Backend{name, ir::BackendKind::Phreeqc, name + ".pqi", std::nullopt, mode, {{"Ca", into}}};
  }

  // The tank model without its standard, naming the database "cr.ovdb" that holds `database_text`.
  ir::ModelGraph tank_model_reading(const std::string& database_text) {
    dir_.write("model/cr.ovdb", database_text);
    ir::ModelGraph model = tank_model();
    model.provenance.databases.push_back(ir::DatabaseRef{"cr.ovdb", std::nullopt, std::nullopt});
    model.isotopes[0].standard.reset();
    return model;
  }

  ir::ResultsFile run(ir::ModelGraph model) { return run_model(std::move(model), model_directory_); }

  testing::TempDir dir_;
  testing::ScopedEnvironment temporary_;
  testing::ScopedEnvironment no_database_variable_;
  testing::ScopedEnvironment no_databases_;
  fs::path executable_;
  fs::path database_;
  fs::path model_directory_;
  testing::ScopedEnvironment phreeqc_;
};

// The one error diagnostic of a failed run, after checking that nothing else of the run is there.
ir::ResultsDiagnostic only_error(const ir::ResultsFile& results) {
  EXPECT_EQ(results.format_version, "1.1");
  EXPECT_EQ(results.engine, (ir::ResultsEngine{"ovm-engine", "0.1.0"}));
  EXPECT_TRUE(results.columns.empty());
  EXPECT_EQ(results.rows.rows, 0u);
  if (results.diagnostics.size() != 1) {
    ADD_FAILURE() << results.diagnostics.size() << " diagnostics";
    return {};
  }
  EXPECT_EQ(results.diagnostics[0].severity, "error");
  EXPECT_EQ(results.diagnostics[0].at_row, std::nullopt);
  return results.diagnostics[0];
}

std::string ovdb_standard(const std::string& database, const std::string& citation, const std::string& ratio,
                          double value) {
  return "[database]\nname = \"" + database + "\"\n[[standard]]\ncitation = \"" + citation +
         "\"\nname = \"n\"\nratio = \"" + ratio + "\"\nvalue = " + std::to_string(value) + "\n";
}

TEST_F(RunModelTest, AModelWithItsStandardsRunsToItsResults) {
  ir::ResultsFile results = run(tank_model());
  EXPECT_EQ(results.format_version, "1.1");
  EXPECT_EQ(results.model, (ir::ResultsModel{"1.3", "tank.ovm", digest, "run"}));
  ASSERT_EQ(results.columns.size(), 3u);
  EXPECT_EQ(results.columns[2].name, "tank.Cr(VI).d53Cr");
  // The later composition sets the delta: (0.375 / 0.25 - 1) x 1000.
  EXPECT_EQ(ir::table_rows(results.rows), (std::vector<ir::ResultsRow>{{0, 8, 500}, {30, 8, 500}, {60, 8, 500}}));
  EXPECT_TRUE(results.diagnostics.empty());
  EXPECT_TRUE(results.backends.empty());
}

TEST_F(RunModelTest, StandardsTakenFromDatabasesAreNotedAfterTheOtherDiagnostics) {
  ir::ModelGraph model = tank_model_reading(ovdb_standard("crdb", "Cr standard", "53Cr/52Cr", 0.25) +
                                                          "[[standard]]\ncitation = \"Fe standard\"\nname = \"IRMM\"\n"
                                                          "ratio = \"56Fe/54Fe\"\nvalue = 15.7\n");
  model.isotopes.push_back(ir::IsotopeSystem{1, "56Fe/54Fe", "Fe", 56, 54, std::nullopt, false});
  // An extent in a time-driven run makes the simulation warn.
  model.processes[0].extent = ir::constant_expr(0.5);
  ir::ResultsFile results = run(std::move(model));
  EXPECT_EQ(ir::table_rows(results.rows).back(), (ir::ResultsRow{60, 8, 500}));
  ASSERT_EQ(results.diagnostics.size(), 3u);
  EXPECT_EQ(results.diagnostics[0].code, "OV306");
  EXPECT_EQ(results.diagnostics[1], (ir::ResultsDiagnostic{"OV000", "note",
                                                           "standard for 53Cr/52Cr taken from Cr standard (crdb)"}));
  EXPECT_EQ(results.diagnostics[2], (ir::ResultsDiagnostic{"OV000", "note",
                                                           "standard for 56Fe/54Fe taken from Fe standard (crdb)"}));
}

// The simulation's warnings come first, then the factor notes, each once however many steps
// took it, then the notes on standards taken from databases.
TEST_F(RunModelTest, DiagnosticsComeInTheOrderOfTheStages) {
  ir::ModelGraph model = tank_model_reading(ovdb_standard("crdb", "Cr standard", "53Cr/52Cr", 0.25) +
                                                          "[[fractionation]]\ncitation = \"Ellis 2002\"\n"
                                                          "alpha = 0.9966\nratio = \"53Cr/52Cr\"\n"
                                                          "process = \"reduction\"\n");
  model.processes[0].extent = ir::constant_expr(0.5);
  model.processes[0].kinetics = ir::Kinetics{ir::RateLaw{ir::RateLaw::FirstOrder{ir::constant_expr(0.01)}}};
  ir::ResultsFile results = run(std::move(model));
  const ir::ResultsDiagnostic factor{"OV000", "note", "reduction on 53Cr/52Cr: factor from Ellis 2002"};
  EXPECT_EQ(results.diagnostics,
            (std::vector<ir::ResultsDiagnostic>{
                {"OV306", "warning", "the model advances by time, so the extent stated by reduction is not read"},
                factor,  // taken at every step, noted once
                {"OV000", "note", "standard for 53Cr/52Cr taken from Cr standard (crdb)"}}));
}

// The notes on standards belong to a successful run only: a later failure keeps its one error.
TEST_F(RunModelTest, AFailedRunDropsTheNotesOnStandards) {
  ir::ModelGraph model = tank_model_reading(ovdb_standard("crdb", "Cr standard", "53Cr/52Cr", 0.25));
  model.requires_ = {"custom"};
  EXPECT_EQ(only_error(run(std::move(model))),
            (ir::ResultsDiagnostic{"OV401", "error", "capability `custom` is not provided by this engine"}));
}

TEST_F(RunModelTest, EveryIsotopeSystemNeedsAStandard) {
  struct Case {
    std::vector<std::string> without;  // systems added without a standard, used by no pool
    bool tank_standard;
    std::string message;
  };
  for (const Case& test : {
           Case{{}, false, "no standard for 53Cr/52Cr; declare one or name a database that carries it"},
           Case{{"56Fe/54Fe"}, true, "no standard for 56Fe/54Fe; declare one or name a database that carries it"},
           Case{{"56Fe/54Fe", "44Ca/40Ca"}, false,
                "no standard for 53Cr/52Cr, 56Fe/54Fe, 44Ca/40Ca; declare one or name a database that carries it"},
       }) {
    ir::ModelGraph model = tank_model();
    if (!test.tank_standard) model.isotopes[0].standard.reset();
    for (const std::string& notation : test.without) {
      model.isotopes.push_back(ir::IsotopeSystem{static_cast<ir::IsotopeId>(model.isotopes.size()), notation, "X", 2, 1,
                                                 std::nullopt, false});
    }
    ir::ResultsFile results = run(std::move(model));
    EXPECT_EQ(only_error(results), (ir::ResultsDiagnostic{"OV402", "error", test.message})) << test.message;
    EXPECT_EQ(results.model, (ir::ResultsModel{"1.3", "tank.ovm", digest, "run"}));
    EXPECT_TRUE(results.backends.empty());
  }
}

TEST_F(RunModelTest, ADatabaseThatCannotBeLoadedEndsTheRunBeforeTheBackends) {
  ir::ModelGraph model = tank_model();
  model.provenance.databases.push_back(ir::DatabaseRef{"gone.ovdb", std::nullopt, std::nullopt});
  ir::ParameterId ca = add_recorded_parameter(model, "ca");
  model.backends.push_back(backend("calcite", "echo ran > ../ran.txt\n", ca));
  ir::ResultsFile results = run(std::move(model));
  ir::ResultsDiagnostic error = only_error(results);
  EXPECT_EQ(error.code, "OV105");
  EXPECT_NE(error.message.find("gone.ovdb"), std::string::npos) << error.message;
  EXPECT_TRUE(results.backends.empty());
  EXPECT_FALSE(fs::exists(dir_.path() / "tmp" / "ran.txt"));
}

TEST_F(RunModelTest, ADatabaseWithoutTheStandardStillLeavesTheSystemWithout) {
  ir::ModelGraph model = tank_model_reading(ovdb_standard("fedb", "Fe standard", "56Fe/54Fe", 15.7));
  EXPECT_EQ(only_error(run(std::move(model))),
            (ir::ResultsDiagnostic{"OV402", "error",
                                   "no standard for 53Cr/52Cr; declare one or name a database that carries it"}));
}

TEST_F(RunModelTest, BackendValuesFeedTheParameters) {
  ir::ModelGraph model = tank_model();
  ir::ParameterId ca = add_recorded_parameter(model, "ca");
  ir::ParameterId mg = add_recorded_parameter(model, "mg");
  model.parameters[mg.index].value = ir::constant_expr(7);  // replaced by the export
  model.backends.push_back(backend("calcite", "printf 'time Ca\\n0 0.5\\n' > c.sel\n", mg));
  // The same parameter exported once and as a series: evaluation reads the series.
  model.backends.push_back(backend("once", "printf 'time Ca\\n0 0.9\\n' > o.sel\n", ca));
  model.backends.push_back(backend("kinetics", "printf 'time Ca\\n0 0.3\\n30 0.2\\n60 0.1\\n' > k.sel\n", ca,
                                   ir::BackendMode::Series));
  ir::ResultsFile results = run(std::move(model));
  ASSERT_TRUE(results.diagnostics.empty()) << results.diagnostics[0].message;
  EXPECT_EQ(ir::table_rows(results.rows), (std::vector<ir::ResultsRow>{{0, 8, 500, 0.3, 0.5}, {30, 8, 500, 0.2, 0.5},
                                                       {60, 8, 500, 0.1, 0.5}}));
  ASSERT_EQ(results.backends.size(), 3u);
  EXPECT_EQ(results.backends[0].name, "calcite");
  EXPECT_EQ(results.backends[0].executable, executable_.string());
  EXPECT_EQ(results.backends[0].exports, (std::map<std::string, double>{{"Ca", 0.5}}));
  EXPECT_EQ(results.backends[2].name, "kinetics");
}

TEST_F(RunModelTest, FailuresAfterTheBackendsListTheirRuns) {
  struct Case {
    std::string name;
    std::vector<std::string> requires_;
    bool simulation;
    ir::ResultsDiagnostic error;
  };
  for (const Case& test : {
           Case{"another capability", {"custom", "phreeqc"}, true,
                {"OV401", "error", "capability `custom` is not provided by this engine"}},
           Case{"simulation", {"phreeqc"}, false,
                {"OV402", "error", "the model declares no MODEL block, there is nothing to run"}},
       }) {
    ir::ModelGraph model = tank_model();
    ir::ParameterId ca = add_recorded_parameter(model, "ca");
    model.backends.push_back(backend("calcite", "printf 'time Ca\\n0 0.5\\n' > c.sel\n", ca));
    model.requires_ = test.requires_;
    if (!test.simulation) model.simulation.reset();
    ir::ResultsFile results = run(std::move(model));
    EXPECT_EQ(only_error(results), test.error) << test.name;
    ASSERT_EQ(results.backends.size(), 1u) << test.name;
    EXPECT_EQ(results.backends[0].exports, (std::map<std::string, double>{{"Ca", 0.5}})) << test.name;
    EXPECT_EQ(results.model.simulation, test.simulation ? std::optional<std::string>("run") : std::nullopt);
  }
}

TEST_F(RunModelTest, PhreeqcIsACapabilityOnlyWithAnExecutable) {
  ir::ModelGraph model = tank_model();
  model.requires_ = {"phreeqc"};
  EXPECT_EQ(run(model).rows.rows, 3u);

  testing::ScopedEnvironment no_phreeqc("OVM_PHREEQC", nullptr);
  testing::ScopedEnvironment path("PATH", dir_.path().c_str());
  ir::ResultsFile results = run(std::move(model));
  EXPECT_EQ(only_error(results),
            (ir::ResultsDiagnostic{"OV401", "error", "capability `phreeqc` is not provided by this engine"}));
  EXPECT_TRUE(results.backends.empty());
}

TEST_F(RunModelTest, ABackendFailureListsNoBackendRuns) {
  ir::ModelGraph model = tank_model();
  ir::ParameterId ca = add_recorded_parameter(model, "ca");
  model.backends.push_back(backend("calcite", "printf 'time Ca\\n0 0.5\\n' > c.sel\n", ca));
  model.backends.push_back(backend("broken", "echo 'it broke' >&2\nexit 3\n", ca));
  ir::ResultsFile results = run(std::move(model));
  EXPECT_EQ(only_error(results).code, "OV402");
  EXPECT_TRUE(results.backends.empty());
}

TEST(FailedResultsTest, HoldsTheIdentityAndOneError) {
  ir::ResultsModel identity{"1.3", std::nullopt, std::nullopt, "m"};
  ir::ResultsFile expected;
  expected.model = identity;
  expected.diagnostics = {ir::ResultsDiagnostic{"OV105", "error", "bad", std::nullopt}};
  EXPECT_EQ(failed_results(identity, "OV105", "bad"), expected);
}

}  // namespace
}  // namespace ovm::engine
