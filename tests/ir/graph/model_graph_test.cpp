#include "ir/graph/model_graph.hpp"

#include <gtest/gtest.h>

namespace ovm::ir {
namespace {

TEST(ModelGraphTest, ADefaultGraphIsEmpty) {
  ModelGraph graph;
  EXPECT_EQ(graph.meta, Meta{});
  EXPECT_FALSE(graph.meta.title || graph.meta.author || graph.meta.date || graph.meta.version || graph.meta.language ||
               graph.meta.description || graph.meta.license || graph.meta.reference);
  EXPECT_FALSE(graph.provenance.source_path || graph.provenance.source_sha256 || graph.provenance.generator);
  EXPECT_TRUE(graph.provenance.databases.empty());
  EXPECT_EQ(graph.provenance.ir_version, "");
  EXPECT_FALSE(graph.conditions.temperature_k || graph.conditions.pressure_bar || graph.conditions.ph ||
               graph.conditions.eh_mv || graph.conditions.ionic_strength);
  EXPECT_TRUE(graph.parameters.empty() && graph.species.empty() && graph.isotopes.empty() && graph.reservoirs.empty() &&
              graph.processes.empty() && graph.samples.empty() && graph.identifications.empty() &&
              graph.requires_.empty() && graph.backends.empty() && graph.outputs.empty() && graph.exports.empty());
  EXPECT_FALSE(graph.simulation);
  EXPECT_FALSE(graph.sampling_seconds);
}

// Designated initializers must name members in declaration order, which is the order the
// lowered-model file writes them in: each of these fails to compile when a member moves.
TEST(ModelGraphTest, RecordsHoldTheirMembersInFileOrder) {
  Meta meta{.title = "t",
            .author = "a",
            .date = "d",
            .version = "v",
            .language = "l",
            .description = "x",
            .license = "c",
            .reference = "r"};
  Provenance provenance{.source_path = "m.ovm",
                        .source_sha256 = std::nullopt,
                        .databases = {DatabaseRef{.path = "cr.ovdb", .resolved = std::nullopt, .sha256 = "ab"}},
                        .generator = "ovm 0.1.0",
                        .ir_version = "1.3"};
  Conditions conditions{.temperature_k = 298.15, .pressure_bar = 1, .ph = 7, .eh_mv = 200, .ionic_strength = 0.1};
  Parameter parameter{.id = ParameterId{0}, .name = "k", .owner = "Ocean", .value = constant_expr(2)};
  Species species{.id = 0, .formula = "Cr(VI)", .element = "Cr"};
  IsotopeSystem isotope{.id = 0,
                        .notation = "53Cr/52Cr",
                        .element = "Cr",
                        .heavy_mass = 53,
                        .light_mass = 52,
                        .standard = Standard{.name = "SRM979", .ratio = 0.113, .uncertainty = std::nullopt},
                        .relative = false};
  Reservoir reservoir{.id = 0,
                      .name = "Ocean",
                      .extent = Extent{Extent::Volume{.litres = 2.5}},
                      .temperature_k = std::nullopt,
                      .pools = {Pool{.species = 0,
                                     .amount = Amount{Amount::Molality{.mol_per_kgw = 0.25}},
                                     .compositions = {Composition{.isotope = 0, .ratio = 0.11}},
                                     .deltas = {}}},
                      .parameters = {ParameterId{0}}};
  Process process{
      .id = 0,
      .name = "p",
      .kind = ProcessKind{ProcessKind::Transfer{.reactant = 0, .product = 0, .mode = Mechanism::Reduction}},
      .location = 0,
      .from = std::nullopt,
      .into = std::nullopt,
      .extent = std::nullopt,
      .context = Context::Natural,
      .regime = Regime::Kinetic,
      .fractionations = {Fractionation{.isotope = 0,
                                       .factor = FractionationFactor{FractionationFactor::Constant{.alpha = 0.998}},
                                       .phase_permil = std::nullopt}},
      .kinetics = Kinetics{.rate = RateLaw{RateLaw::Monod{.constant = constant_expr(1),
                                                          .half_saturation = constant_expr(0.001)}}},
      .parameters = {},
      .open_system = false};
  ProcessKind mixing{ProcessKind::Mixing{.sources = {MixingSource{.reservoir = 0, .fraction = 0.5}}, .product = 0}};
  Sample sample{.id = 0,
                .name = "s",
                .element = "Cr",
                .compositions = {},
                .series = {1, 2},
                .uncertainty_permil = 0.05,
                .material = std::nullopt,
                .note = "n"};
  Identification identification{.name = "i",
                                .source = 0,
                                .product = 1,
                                .mode = IdentificationMode::Chain,
                                .candidates = {"reduction"},
                                .context = "natural",
                                .regime = std::nullopt,
                                .max_chain = 3,
                                .tolerance_permil = 0.1,
                                .top = 5,
                                .extent = 0.5};
  Simulation simulation{
      .name = "run",
      .reservoirs = {0},
      .processes = {0},
      .step_seconds = 60,
      .progress = Progress::Time,
      .stop = StopCondition{.subject = Subject{Subject::PoolComposition{.reservoir = 0, .species = 0, .isotope = 0}},
                            .comparison = Comparison::GreaterEqual,
                            .value = 1.5}};
  Output output{.variable = Variable{Variable::Parameter{.id = ParameterId{0}}}, .label = "k"};
  Export exported{.format = ExportFormat::Csv, .path = "out.csv"};
  Backend backend{.name = "eq",
                  .kind = BackendKind::Phreeqc,
                  .input_path = "eq.pqi",
                  .database = std::nullopt,
                  .mode = BackendMode::Series,
                  .exports = {BackendExport{.column = "Cr", .parameter = ParameterId{0}}}};

  ModelGraph graph{.meta = meta,
                   .provenance = provenance,
                   .conditions = conditions,
                   .parameters = {parameter},
                   .species = {species},
                   .isotopes = {isotope},
                   .reservoirs = {reservoir},
                   .processes = {process},
                   .samples = {sample},
                   .identifications = {identification},
                   .requires_ = {"phreeqc", "sample"},
                   .backends = {backend},
                   .simulation = simulation,
                   .outputs = {output},
                   .sampling_seconds = 60,
                   .exports = {exported}};

  ModelGraph copy = graph;
  EXPECT_EQ(copy, graph);
  copy.processes[0].kind = mixing;
  EXPECT_NE(copy, graph);
  copy = graph;
  std::get<RateLaw::Monod>(copy.processes[0].kinetics->rate.kind).half_saturation = constant_expr(0.002);
  EXPECT_NE(copy, graph);
  EXPECT_EQ(std::get<RateLaw::Monod>(graph.processes[0].kinetics->rate.kind).half_saturation, constant_expr(0.001));
}

}  // namespace
}  // namespace ovm::ir
