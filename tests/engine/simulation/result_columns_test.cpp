#include "engine/simulation/result_columns.hpp"

#include <gtest/gtest.h>


namespace ovm::engine {
namespace {

using ir::ColumnKind;
using ir::ResultsColumn;
using ir::Variable;

ir::Output output(Variable::Time) { return ir::Output{Variable{Variable::Time{}}, "time"}; }

template <typename Kind>
ir::Output output(Kind kind, std::string label) {
  return ir::Output{Variable{kind}, std::move(label)};
}

// Reservoirs "lake" (0) and "parameter" (1); species Cr(VI) (0) and Cr(III) (1); isotope
// systems 53Cr/52Cr (0, absolute) and 56Fe/54Fe (1, relative); parameter k (0).
ir::ModelGraph model() {
  ir::ModelGraph graph;
  graph.reservoirs = {ir::Reservoir{0, "lake", std::nullopt, std::nullopt, {}, {}},
                      ir::Reservoir{1, "parameter", std::nullopt, std::nullopt, {}, {}}};
  graph.species = {ir::Species{0, "Cr(VI)", "Cr"}, ir::Species{1, "Cr(III)", "Cr"}};
  graph.isotopes = {ir::IsotopeSystem{0, "53Cr/52Cr", "Cr", 53, 52, std::nullopt, false},
                    ir::IsotopeSystem{1, "56Fe/54Fe", "Fe", 56, 54, std::nullopt, true}};
  graph.parameters = {ir::Parameter{ir::ParameterId{0}, "k", std::nullopt, ir::constant_expr(0.5)}};
  return graph;
}

TEST(ResultColumnsTest, OneColumnPerOutput) {
  ir::ModelGraph graph = model();
  graph.outputs = {output(Variable::Time{}),
                   output(Variable::Amount{0, 1}, "lake.Cr(III)"),
                   output(Variable::Composition{0, 0}, "lake.delta53Cr"),
                   output(Variable::Composition{0, 1}, "lake.delta56Fe"),
                   output(Variable::PoolComposition{1, 0, 1}, "parameter.Cr(VI).delta56Fe"),
                   output(Variable::FractionRemaining{0, 0}, "lake.Cr(VI).fraction_remaining"),
                   output(Variable::FractionReacted{0, 0}, "lake.Cr(VI).fraction_reacted"),
                   output(Variable::Parameter{ir::ParameterId{0}}, "k")};
  std::vector<ResultsColumn> expected = {
      {"time", ColumnKind::Time, "s"},
      {"lake.Cr(III)", ColumnKind::Amount, "mol/kgw", "lake", "Cr(III)"},
      {"lake.delta53Cr", ColumnKind::Composition, "permil", "lake", std::nullopt, "53Cr/52Cr"},
      {"lake.delta56Fe", ColumnKind::Composition, "permil (relative)", "lake", std::nullopt, "56Fe/54Fe"},
      {"parameter.Cr(VI).delta56Fe", ColumnKind::PoolComposition, "permil (relative)", "parameter", "Cr(VI)",
       "56Fe/54Fe"},
      {"lake.Cr(VI).fraction_remaining", ColumnKind::FractionRemaining, "1", "lake", "Cr(VI)"},
      {"lake.Cr(VI).fraction_reacted", ColumnKind::FractionRemaining, "1", "lake", "Cr(VI)"},
      {"k", ColumnKind::Parameter, "1", std::nullopt, std::nullopt, std::nullopt, "k"},
  };
  EXPECT_EQ(result_columns(graph), expected);
  EXPECT_TRUE(result_columns(model()).empty());
}

TEST(ResultColumnsTest, AmountColumnIsInTheUnitOfItsPoolsKind) {
  ir::ModelGraph graph = model();
  graph.reservoirs[0].pools = {ir::Pool{0, ir::Amount{ir::Amount::MassConcentration{5}}, {}, {}},
                               ir::Pool{1, ir::Amount{ir::Amount::Molality{5}}, {}, {}}};
  graph.outputs = {output(Variable::Amount{0, 0}, "lake.Cr(VI)"), output(Variable::Amount{0, 1}, "lake.Cr(III)")};
  std::vector<ReservoirState> reservoirs{initial_reservoir_state(graph.reservoirs[0], graph.isotopes)};
  std::vector<ResultsColumn> columns = result_columns(graph, reservoirs);
  EXPECT_EQ(columns.at(0).unit, "mg/L");
  EXPECT_EQ(columns.at(1).unit, "mol/kgw");

  // A pool the run never held, or without a state, is in the default unit.
  reservoirs[0].pools.erase(0);
  EXPECT_EQ(result_columns(graph, reservoirs).at(0).unit, "mol/kgw");
  EXPECT_EQ(result_columns(graph).at(0).unit, "mol/kgw");
}

}  // namespace
}  // namespace ovm::engine
