// What keeps a lowered-model file from reading back, judged against the reader itself.
#include "ir/codec/graph_readable.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "ir/codec/graph_file.hpp"

namespace ovm::ir {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

Expr sum_of(int operators) {
  Expr expr = constant_expr(1);
  for (int i = 0; i < operators; ++i) expr = binary_expr(BinaryOp::Add, std::move(expr), constant_expr(1));
  return expr;
}

Expr nested_calls(int calls) {
  Expr expr = constant_expr(1);
  for (int i = 0; i < calls; ++i) {
    std::vector<Expr> args;
    args.push_back(std::move(expr));
    expr = call_expr(Function::Abs, std::move(args));
  }
  return expr;
}

// One species, one isotope system and one process: every place an expression can stand.
ModelGraph base_graph() {
  ModelGraph graph;
  graph.species.push_back(Species{0, "Cr(VI)", "Cr"});
  graph.isotopes.push_back(IsotopeSystem{0, "53Cr/52Cr", "Cr", 53, 52, Standard{"NIST979", 0.113, std::nullopt}, false});
  Process process;
  process.name = "Red";
  process.kind.kind = ProcessKind::Transfer{0, 0, Mechanism::Reduction};
  graph.processes.push_back(std::move(process));
  return graph;
}

using Place = std::function<void(ModelGraph&, Expr)>;

struct PlaceCase {
  const char* name;
  Place put;
  const char* record;  // how the faults of that place begin
};

const std::vector<PlaceCase>& places() {
  static const std::vector<PlaceCase> cases = {
      {"parameter value",
       [](ModelGraph& g, Expr e) { g.parameters.push_back(Parameter{ParameterId{0}, "k", std::nullopt, std::move(e)}); },
       "parameter `k`: its value"},
      {"process extent", [](ModelGraph& g, Expr e) { g.processes[0].extent = std::move(e); }, "process `Red`: its `extent`"},
      {"rate constant",
       [](ModelGraph& g, Expr e) { g.processes[0].kinetics = Kinetics{RateLaw{RateLaw::FirstOrder{std::move(e)}}}; },
       "process `Red`: its rate `constant`"},
      {"fractionation law",
       [](ModelGraph& g, Expr e) {
         g.processes[0].fractionations.push_back(
             Fractionation{0, FractionationFactor{FractionationFactor::Law{std::move(e)}}, std::nullopt});
       },
       "process `Red`: its `53Cr/52Cr` fractionation"},
  };
  return cases;
}

bool reads_back_equal(const ModelGraph& graph) {
  auto text = model_graph_to_json(graph);
  if (!std::holds_alternative<std::string>(text)) return false;
  auto read = read_model_graph(std::get<std::string>(text));
  return std::holds_alternative<ModelGraph>(read) && std::get<ModelGraph>(read) == graph;
}

// Around the reader's limit, the faults found agree with what the reader does, at every place
// and for both kinds of nesting: nothing passes that the reader refuses, nothing is refused that it reads.
TEST(GraphReadableTest, NestingAgreesWithTheReader) {
  for (const PlaceCase& place : places()) {
    for (int levels = 36; levels <= 66; ++levels) {
      for (bool calls : {false, true}) {
        ModelGraph graph = base_graph();
        place.put(graph, calls ? nested_calls(levels * 2 / 3) : sum_of(levels));
        std::vector<std::string> faults = unreadable_parts(graph);
        bool reads = reads_back_equal(graph);
        EXPECT_EQ(faults.empty(), reads) << place.name << ", " << (calls ? "calls " : "operators ") << levels;
        if (!faults.empty()) {
          EXPECT_EQ(faults, (std::vector<std::string>{std::string(place.record) +
                                                      " is nested deeper than a lowered model file holds; "
                                                      "split it over parameters"}));
        }
      }
    }
  }
}

// A parameter's value holding a sum of 62 terms is read back; of 63 terms, or 42 calls, it is not.
TEST(GraphReadableTest, TheLimitOfAParameterValue) {
  auto faults_of = [](Expr value) {
    ModelGraph graph;
    graph.parameters.push_back(Parameter{ParameterId{0}, "k", std::nullopt, std::move(value)});
    return unreadable_parts(graph);
  };
  EXPECT_TRUE(faults_of(sum_of(61)).empty());
  EXPECT_EQ(faults_of(sum_of(62)).size(), 1u);
  EXPECT_TRUE(faults_of(nested_calls(41)).empty());
  EXPECT_EQ(faults_of(nested_calls(42)).size(), 1u);
}

TEST(GraphReadableTest, ExprNestingCountsTheObjectsOpened) {
  EXPECT_EQ(expr_nesting(constant_expr(1)), 1u);
  EXPECT_EQ(expr_nesting(unary_expr(UnaryOp::Negate, Expr(Expr::Time{}))), 3u);
  EXPECT_EQ(expr_nesting(call_expr(Function::Max, {})), 3u);  // the empty `args` list counts
  EXPECT_EQ(expr_nesting(nested_calls(2)), 7u);
}

struct NumberCase {
  const char* name;
  std::function<void(ModelGraph&)> spoil;
  std::string message;
};

// Each number the file writes as null when it is not finite: reported by the record that holds
// it, and indeed not read back as the same graph.
TEST(GraphReadableTest, NumbersThatAreNotFinite) {
  const std::vector<NumberCase> cases = {
      {"conditions", [](ModelGraph& g) { g.conditions.temperature_k = infinity; },
       "the conditions: `temperature` is not a finite number"},
      {"parameter", [](ModelGraph& g) {
         g.parameters.push_back(
             Parameter{ParameterId{0}, "k", "Sea", binary_expr(BinaryOp::Multiply, constant_expr(2), constant_expr(nan))});
       },
       "parameter `k` of `Sea`: its value holds a number that is not finite"},
      {"standard", [](ModelGraph& g) { g.isotopes[0].standard->ratio = infinity; },
       "isotope system `53Cr/52Cr`: the ratio of its standard is not a finite number"},
      {"pool", [](ModelGraph& g) {
         g.reservoirs.push_back(Reservoir{0, "Sea", Extent{Extent::Volume{1}}, std::nullopt,
                                          {Pool{0, Amount{Amount::Molality{-infinity}}, {Composition{0, 0.1}}, {}}}, {}});
       },
       "reservoir `Sea`: the amount of `Cr(VI)` is not a finite number"},
      {"composition", [](ModelGraph& g) {
         g.reservoirs.push_back(Reservoir{0, "Sea", std::nullopt, nan,
                                          {Pool{0, Amount{Amount::Molality{1}}, {Composition{0, infinity}}, {}}}, {}});
       },
       "reservoir `Sea`: `temperature` is not a finite number\n"
       "reservoir `Sea`: the `53Cr/52Cr` composition of `Cr(VI)` is not a finite number"},
      {"pool delta", [](ModelGraph& g) {
         g.reservoirs.push_back(Reservoir{0, "Sea", std::nullopt, std::nullopt,
                                          {Pool{0, Amount{Amount::Molality{1}}, {}, {PoolDelta{0, infinity}}}}, {}});
       },
       "reservoir `Sea`: the `53Cr/52Cr` delta of `Cr(VI)` is not a finite number"},
      {"factor", [](ModelGraph& g) {
         g.processes[0].fractionations.push_back(
             Fractionation{0, FractionationFactor{FractionationFactor::Constant{infinity}}, std::nullopt});
       },
       "process `Red`: its `53Cr/52Cr` fractionation is not a finite number"},
      {"sample", [](ModelGraph& g) { g.samples.push_back(Sample{0, "Top", "Cr", {}, {1.0, nan}, std::nullopt, {}, {}}); },
       "sample `Top`: a `series` value is not a finite number"},
      {"simulation", [](ModelGraph& g) {
         g.simulation = Simulation{"Run", {}, {0}, infinity, Progress::Time, StopCondition{{}, Comparison::Greater, 1}};
       },
       "simulation `Run`: `step` is not a finite number"},
      {"sampling", [](ModelGraph& g) { g.sampling_seconds = nan; }, "the outputs: `every` is not a finite number"},
  };
  for (const NumberCase& test : cases) {
    ModelGraph graph = base_graph();
    ASSERT_TRUE(unreadable_parts(graph).empty());
    test.spoil(graph);
    std::string found;
    for (const std::string& message : unreadable_parts(graph)) found += (found.empty() ? "" : "\n") + message;
    EXPECT_EQ(found, test.message) << test.name;
    EXPECT_FALSE(reads_back_equal(graph)) << test.name;
  }
}

}  // namespace
}  // namespace ovm::ir
