// The lowering driver: the passes, the provenance, the capabilities and the example models.
#include "ir/lower/lower_model.hpp"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "ir/graph/graph_check.hpp"
#include "lower_test_support.hpp"
#include "sema/analysis.hpp"
#include "syntax/parser.hpp"

namespace ovm::ir {
namespace {

using testing::lower_checked;
using testing::lower_example;
using testing::lower_unchecked;
using Texts = std::vector<std::string>;

TEST(LowerModelTest, TakesTheProvenanceOverAndStampsItsOwnVersion) {
  std::string source = "DATABASE\n    file \"cr.ovdb\"\n";
  syntax::ParseOutput tree = syntax::parse_source(source, 0);
  sema::Analysis analysis = sema::analyze(tree, sema::Profile::Core);
  Provenance given;
  given.source_path = "models/a.ovm";
  given.source_sha256 = std::string(64, 'a');
  given.generator = "ovm 0.1.0";
  given.ir_version = "9.9";
  ModelGraph graph = lower_model(tree.blocks, source, analysis, given);
  EXPECT_EQ(graph.provenance.ir_version, "1.3");
  EXPECT_EQ(graph.provenance.source_path, given.source_path);
  EXPECT_EQ(graph.provenance.source_sha256, given.source_sha256);
  EXPECT_EQ(graph.provenance.generator, given.generator);
  ASSERT_EQ(graph.provenance.databases.size(), 1u);
  EXPECT_EQ(graph.provenance.databases[0].path, "cr.ovdb");
}

TEST(LowerModelTest, AnEmptyModelGivesTheDefaultGraph) {
  ModelGraph graph = lower_unchecked("");
  ModelGraph expected;
  expected.provenance.ir_version = "1.3";
  EXPECT_EQ(graph, expected);
}

constexpr std::string_view reduction_blocks[] = {
    "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n",
    "STANDARD\n    standard NIST979 0.113386 ratio 53Cr/52Cr\n",
    "RESERVOIR Aquifer\n    volume 10 L\n    Cr(VI) 20 umol/kgw\n    Cr(III) 0 umol/kgw\n    delta53Cr 0.5\n",
    "FRACTIONATION Red\n    isotope 53Cr/52Cr\n    epsilon -3.4\n",
    "PROCESS Red\n    type reduction\n    reactant Cr(VI)\n    product Cr(III)\n",
    "KINETICS Red\n    rate first_order\n    constant 0.5 1/d\n",
    "UNITS\n    time d\n",
    "MODEL Run\n    step 1\n    until time > 10\n",
};

std::string joined(const std::vector<std::size_t>& order) {
  std::string text;
  for (std::size_t i : order) text += std::string(reduction_blocks[i]) + "\n";
  return text;
}

TEST(LowerModelTest, LaterPassesSeeWhatEarlierPassesStoredWhereverTheBlocksStand) {
  ModelGraph graph = lower_checked(joined({0, 1, 2, 3, 4, 5, 6, 7}));
  ASSERT_EQ(graph.processes.size(), 1u);
  const Process& process = graph.processes[0];
  // FRACTIONATION stands before its PROCESS and still attaches to it.
  ASSERT_EQ(process.fractionations.size(), 1u);
  EXPECT_EQ(std::get<FractionationFactor::Constant>(process.fractionations[0].factor.kind).alpha, -3.4 / 1000 + 1);
  ASSERT_TRUE(process.kinetics);
  EXPECT_EQ(std::get<RateLaw::FirstOrder>(process.kinetics->rate.kind).constant, constant_expr(0.5 * (1.0 / 86400.0)));
  // The STANDARD after ISOTOPES and the UNITS at the end are known to everything.
  ASSERT_TRUE(graph.isotopes.at(0).standard);
  EXPECT_EQ(graph.isotopes[0].standard->ratio, 0.113386);
  ASSERT_TRUE(graph.simulation);
  EXPECT_EQ(graph.simulation->step_seconds, 86400.0);
  EXPECT_EQ(graph.reservoirs.at(0).pools.at(0).compositions.at(0).ratio, (0.5 / 1000 + 1) * 0.113386);
}

TEST(LowerModelTest, ReorderingBlocksOfDifferentPassesChangesNothing) {
  ModelGraph reference = lower_checked(joined({0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(lower_checked(joined({7, 6, 5, 4, 3, 2, 1, 0})), reference);
  EXPECT_EQ(lower_checked(joined({6, 1, 4, 7, 2, 5, 0, 3})), reference);
}

struct RequiresCase {
  const char* name;
  const char* text;
  sema::Profile profile;
  Texts requires_;
};

class LowerRequiresTest : public ::testing::TestWithParam<RequiresCase> {};

TEST_P(LowerRequiresTest, ListsEachNonCoreKindOnceSorted) {
  EXPECT_EQ(lower_unchecked(GetParam().text, GetParam().profile).requires_, GetParam().requires_);
}

INSTANTIATE_TEST_SUITE_P(
    Models, LowerRequiresTest,
    ::testing::Values(
        RequiresCase{"CoreOnly", "TITLE\n    t\n\nRESERVOIR A\n    volume 1 L\n", sema::Profile::Core, {}},
        RequiresCase{"SampleThenPhreeqc",
                     "SAMPLE S\n    element Cr\n\nPHREEQC Geo\n    input file \"run.pqi\"\n\n"
                     "PHREEQC Other\n    input file \"b.pqi\"\n",
                     sema::Profile::Extended,
                     {"phreeqc", "sample"}},
        // Kinds that no pass lowers still tell the engine what the model needs.
        RequiresCase{"UnloweredKinds", "LAW L\n    alpha = 1.0\n\nSOLUTION S\n", sema::Profile::Extended,
                     {"law", "solution"}},
        RequiresCase{"KeywordAsWritten", "identify I\n    mode single\n", sema::Profile::Identification,
                     {"identify"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LowerModelTest, BlocksOfNoKindAddNothing) {
  ModelGraph graph = lower_unchecked("RESERVOYR A\n    volume 1 L\n\nRESERVOIR B\n    volume 2 L\n");
  ASSERT_EQ(graph.reservoirs.size(), 1u);
  EXPECT_EQ(graph.reservoirs[0].name, "B");
  EXPECT_EQ(graph.reservoirs[0].id, 0u);
}

struct ExampleCase {
  const char* file;
  sema::Profile profile;
};

class LowerExampleTest : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(LowerExampleTest, GraphIsConsistent) {
  ModelGraph graph = lower_example(GetParam().file, GetParam().profile);
  EXPECT_EQ(check_model_graph(graph), Texts{});
  EXPECT_EQ(graph.provenance.ir_version, "1.3");
}

INSTANTIATE_TEST_SUITE_P(Examples, LowerExampleTest,
                         ::testing::Values(ExampleCase{"cr_reduction_rayleigh.ovm", sema::Profile::Core},
                                           ExampleCase{"two_source_mixing.ovm", sema::Profile::Core},
                                           ExampleCase{"identify_cr_process.ovm", sema::Profile::Identification}));

TEST(LowerExampleTest, RayleighReductionInBaseUnits) {
  ModelGraph graph = lower_example("cr_reduction_rayleigh.ovm", sema::Profile::Core);
  EXPECT_EQ(graph.meta.title, "Cr(VI) reduction in an aquifer with Rayleigh fractionation");
  EXPECT_EQ(graph.meta.author, "ovm developers");
  EXPECT_EQ(graph.meta.version, "1.0");
  EXPECT_EQ(graph.conditions.temperature_k, 15 * 1.0 + 273.15);
  EXPECT_EQ(graph.conditions.ph, 7.2);
  EXPECT_EQ(graph.conditions.eh_mv, 150.0);
  ASSERT_EQ(graph.isotopes.size(), 1u);
  EXPECT_EQ(graph.isotopes[0].standard, (Standard{"NIST979", 0.113386, 0.000005}));
  ASSERT_EQ(graph.parameters.size(), 1u);
  EXPECT_EQ(graph.parameters[0].value, constant_expr(0.05 * (1.0 / 86400.0)));
  ASSERT_EQ(graph.reservoirs.size(), 1u);
  const Reservoir& aquifer = graph.reservoirs[0];
  EXPECT_EQ(aquifer.extent, (Extent{Extent::Volume{1000}}));
  ASSERT_EQ(aquifer.pools.size(), 2u);
  EXPECT_EQ(aquifer.pools[0].amount, (Amount{Amount::Molality{20 * 1e-6}}));
  EXPECT_EQ(aquifer.pools[1].compositions, (std::vector<Composition>{{0, (0.5 / 1000 + 1) * 0.113386}}));
  ASSERT_EQ(graph.processes.size(), 1u);
  EXPECT_EQ(graph.processes[0].kind, (ProcessKind{ProcessKind::Transfer{0, 1, Mechanism::Reduction}}));
  EXPECT_EQ(graph.processes[0].kinetics, (Kinetics{RateLaw{RateLaw::FirstOrder{parameter_expr(ParameterId{0})}}}));
  ASSERT_TRUE(graph.simulation);
  EXPECT_EQ(graph.simulation->stop,
            (StopCondition{Subject{Subject::Amount{0, 0}}, Comparison::Less, 2 * 1e-6}));
  EXPECT_EQ(graph.sampling_seconds, 86400.0);
  EXPECT_EQ(graph.outputs.size(), 4u);
  EXPECT_EQ(graph.exports, (std::vector<Export>{{ExportFormat::Csv, "cr_reduction_rayleigh.csv"}}));
}

// Volumes in m^3 become litres; pool amounts without unit take the ug/L default as mass
// concentrations in mg/L; a process among three reservoirs gets no location of its own.
TEST(LowerExampleTest, TwoSourceMixingInBaseUnits) {
  ModelGraph graph = lower_example("two_source_mixing.ovm", sema::Profile::Core);
  ASSERT_EQ(graph.reservoirs.size(), 3u);
  const Reservoir& river = graph.reservoirs[0];
  EXPECT_EQ(river.extent, (Extent{Extent::Volume{300 * 1000.0}}));
  ASSERT_EQ(river.pools.size(), 1u);
  EXPECT_EQ(river.pools[0].amount, (Amount{Amount::MassConcentration{1.2 * 0.001}}));
  EXPECT_EQ(river.pools[0].compositions, (std::vector<Composition>{{0, (0.9 / 1000 + 1) * 0.113386}}));
  EXPECT_EQ(graph.reservoirs[1].pools[0].amount, (Amount{Amount::MassConcentration{0.2 * 0.001}}));
  ASSERT_EQ(graph.reservoirs[2].pools.size(), 1u);
  EXPECT_EQ(graph.reservoirs[2].pools[0].compositions, std::vector<Composition>{});
  ASSERT_EQ(graph.processes.size(), 1u);
  const Process& blend = graph.processes[0];
  EXPECT_EQ(blend.kind, (ProcessKind{ProcessKind::Mixing{{{0, 0.3}, {1, 0.7}}, 2}}));
  EXPECT_EQ(blend.location, std::nullopt);
  EXPECT_EQ(blend.context, Context::Natural);
  EXPECT_EQ(blend.regime, std::nullopt);
  ASSERT_TRUE(graph.simulation);
  EXPECT_EQ(*graph.simulation,
            (Simulation{"Mix", {0, 1, 2}, {0}, std::nullopt, Progress::Extent, std::nullopt}));
  EXPECT_EQ(graph.sampling_seconds, std::nullopt);
  EXPECT_EQ(graph.exports, (std::vector<Export>{{ExportFormat::Json, "two_source_mixing.json"}}));
}

// Deltas of samples become absolute ratios against the model's standard, and the blocks of the
// identification profile are listed as required.
TEST(LowerExampleTest, IdentificationSamplesAndRequest) {
  ModelGraph graph = lower_example("identify_cr_process.ovm", sema::Profile::Identification);
  ASSERT_EQ(graph.samples.size(), 2u);
  EXPECT_EQ(graph.samples[0], (Sample{0, "Source_leachate", "Cr", {{0, (0.1 / 1000 + 1) * 0.113386}}, {}, 0.05,
                                      "leachate of chromite ore processing residue", std::nullopt}));
  EXPECT_EQ(graph.samples[1],
            (Sample{1, "Downgradient", "Cr", {{0, (2.4 / 1000 + 1) * 0.113386}}, {0.6, 1.1, 1.7, 2.4}, 0.05,
                    "groundwater", "monitoring well 400 m downgradient, four campaigns"}));
  EXPECT_EQ(graph.identifications,
            (std::vector<Identification>{{"Plume", 0, 1, IdentificationMode::Chain,
                                          {"reduction", "adsorption", "mixing"}, "natural", "kinetic", 2u, 0.1, 3u,
                                          std::nullopt}}));
  EXPECT_EQ(graph.requires_, (Texts{"identify", "sample"}));
  EXPECT_EQ(graph.simulation, std::nullopt);
}

}  // namespace
}  // namespace ovm::ir
