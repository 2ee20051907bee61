#include "ir/graph/graph_check.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace ovm::ir {
namespace {

using Messages = std::vector<std::string>;

// What lowering makes of a small model: every id at its index, every reference in range, and
// one record of each kind that holds references.
ModelGraph consistent_graph() {
  ModelGraph graph;
  graph.provenance.ir_version = "1.3";
  graph.parameters = {
      Parameter{ParameterId{0}, "k", std::nullopt, constant_expr(0.5)},
      Parameter{ParameterId{1}, "k", "p",
                binary_expr(BinaryOp::Multiply, parameter_expr(ParameterId{0}), Expr(Expr::Temperature{}))},
      Parameter{ParameterId{2}, "cr_out", std::nullopt, std::nullopt},
  };
  graph.species = {Species{0, "Cr(VI)", "Cr"}, Species{1, "Cr(III)", "Cr"}, Species{2, "Fe(OH)3", "Fe"}};
  graph.isotopes = {IsotopeSystem{0, "53Cr/52Cr", "Cr", 53, 52, Standard{"SRM979", 0.113, std::nullopt}, false}};
  graph.reservoirs = {
      Reservoir{
          0,
          "Ocean",
          Extent{Extent::Volume{1}},
          std::nullopt,
          {Pool{0, Amount{Amount::Molality{1e-6}}, {Composition{0, 0.1134}}, {}}, Pool{1, Amount{Amount::Molality{0}}, {}, {}}},
          {ParameterId{0}}},
      Reservoir{1, "Sediment", std::nullopt, 288.15, {Pool{1, Amount{Amount::MassConcentration{2}}, {}, {}}}, {}},
  };

  Process reduction;
  reduction.id = 0;
  reduction.name = "p";
  reduction.kind.kind = ProcessKind::Transfer{0, 1, Mechanism::Reduction};
  reduction.location = 0;
  reduction.from = 0;
  reduction.into = 1;
  reduction.fractionations = {
      Fractionation{0, FractionationFactor{FractionationFactor::Law{parameter_expr(ParameterId{1})}}, 0.1}};
  reduction.kinetics = Kinetics{RateLaw{RateLaw::Monod{parameter_expr(ParameterId{1}), constant_expr(0.001)}}};
  reduction.parameters = {ParameterId{1}};
  graph.processes.push_back(reduction);

  Process mixing;
  mixing.id = 1;
  mixing.name = "mix";
  mixing.kind.kind = ProcessKind::Mixing{{MixingSource{0, 0.25}, MixingSource{1, 0.75}}, 1};
  graph.processes.push_back(mixing);

  Process sorption;
  sorption.id = 2;
  sorption.name = "sorb";
  sorption.kind.kind = ProcessKind::Adsorption{0, 2};
  sorption.fractionations = {Fractionation{0, FractionationFactor{FractionationFactor::Constant{0.998}}, std::nullopt}};
  sorption.kinetics = Kinetics{RateLaw{RateLaw::FirstOrder{parameter_expr(ParameterId{0})}}};
  graph.processes.push_back(sorption);

  Process uptake;
  uptake.id = 3;
  uptake.name = "take";
  uptake.kind.kind = ProcessKind::Uptake{1, 2};
  graph.processes.push_back(uptake);

  Process exchange;
  exchange.id = 4;
  exchange.name = "swap";
  exchange.kind.kind = ProcessKind::Exchange{0, 1};
  graph.processes.push_back(exchange);

  graph.samples = {
      Sample{0, "A", "Cr", {Composition{0, 0.1134}}, {}, std::nullopt, std::nullopt, std::nullopt},
      Sample{1, "B", "Cr", {Composition{0, 0.1136}}, {1, 2}, 0.05, "water", std::nullopt},
  };
  graph.identifications = {Identification{"find",
                                          0,
                                          1,
                                          IdentificationMode::Single,
                                          {"reduction"},
                                          "natural",
                                          std::nullopt,
                                          2,
                                          std::nullopt,
                                          std::nullopt,
                                          std::nullopt}};
  graph.requires_ = {"identify", "phreeqc", "sample"};
  graph.backends = {Backend{
      "eq", BackendKind::Phreeqc, "eq.pqi", std::nullopt, BackendMode::Oneshot, {BackendExport{"Cr", ParameterId{2}}}}};
  graph.simulation = Simulation{
      "run", {0, 1},         {0, 1, 2, 3, 4},
      60.0,  Progress::Time, StopCondition{Subject{Subject::PoolComposition{0, 0, 0}}, Comparison::Less, 0.5}};
  graph.outputs = {
      Output{Variable{Variable::Time{}}, "time"},
      Output{Variable{Variable::Amount{0, 0}}, "Ocean.Cr(VI)"},
      Output{Variable{Variable::Composition{1, 0}}, "Sediment.delta53Cr"},
      Output{Variable{Variable::PoolComposition{0, 1, 0}}, "Ocean.Cr(III).delta53Cr"},
      Output{Variable{Variable::FractionRemaining{0, 0}}, "Ocean.Cr(VI).remaining"},
      Output{Variable{Variable::FractionReacted{0, 0}}, "Ocean.Cr(VI).reacted"},
      Output{Variable{Variable::Parameter{ParameterId{1}}}, "k"},
  };
  graph.sampling_seconds = 600.0;
  graph.exports = {Export{ExportFormat::Csv, "out.csv"}};
  return graph;
}

Process& process_named(ModelGraph& graph, std::string_view name) {
  for (Process& process : graph.processes) {
    if (process.name == name) return process;
  }
  throw std::logic_error("no such process in the test graph");
}

TEST(CheckModelGraphTest, ConsistentGraphsGiveNoMessage) {
  EXPECT_EQ(check_model_graph(ModelGraph{}), Messages{});
  EXPECT_EQ(check_model_graph(consistent_graph()), Messages{});
}

struct DefectCase {
  const char* what;
  std::function<void(ModelGraph&)> damage;
  Messages expected;
};

TEST(CheckModelGraphTest, EachDefectGivesItsMessage) {
  const DefectCase cases[] = {
      {"species id", [](ModelGraph& g) { g.species[1].id = 5; }, {"species `Cr(III)` carries id 5 at index 1"}},
      {"isotope id", [](ModelGraph& g) { g.isotopes[0].id = 3; }, {"isotope `53Cr/52Cr` carries id 3 at index 0"}},
      {"pool species",
       [](ModelGraph& g) { g.reservoirs[1].pools[0].species = 3; },
       {"reservoir `Sediment` holds unknown species 3"}},
      {"pool composition",
       [](ModelGraph& g) { g.reservoirs[0].pools[0].compositions[0].isotope = 1; },
       {"reservoir `Ocean` carries unknown isotope 1"}},
      {"reservoir parameter",
       [](ModelGraph& g) { g.reservoirs[0].parameters.push_back(ParameterId{3}); },
       {"reservoir `Ocean` owns unknown parameter 3"}},
      // Species of every pool first, then their compositions, then the parameters.
      {"reservoir rounds",
       [](ModelGraph& g) {
         g.reservoirs[0].parameters = {ParameterId{8}};
         g.reservoirs[0].pools[0].compositions[0].isotope = 6;
         g.reservoirs[0].pools[1].species = 7;
       },
       {"reservoir `Ocean` holds unknown species 7", "reservoir `Ocean` carries unknown isotope 6",
        "reservoir `Ocean` owns unknown parameter 8"}},
      {"transfer reactant",
       [](ModelGraph& g) {
         process_named(g, "p").kind.kind = ProcessKind::Transfer{7, 0, Mechanism::Diffusion};
       },
       {"process `p` has unknown reactant 7"}},
      {"transfer both ends",
       [](ModelGraph& g) {
         process_named(g, "p").kind.kind = ProcessKind::Transfer{3, 4, Mechanism::Oxidation};
       },
       {"process `p` has unknown reactant 3", "process `p` has unknown product 4"}},
      {"mixing",
       [](ModelGraph& g) {
         process_named(g, "mix").kind.kind =
             ProcessKind::Mixing{{MixingSource{2, 0.5}, MixingSource{0, 0.2}, MixingSource{9, 0.3}}, 2};
       },
       {"process `mix` mixes unknown reservoir 2", "process `mix` mixes unknown reservoir 9",
        "process `mix` mixes into unknown reservoir 2"}},
      {"adsorption",
       [](ModelGraph& g) {
         process_named(g, "sorb").kind.kind = ProcessKind::Adsorption{3, 10};
       },
       {"process `sorb` has unknown reactant 3", "process `sorb` has unknown sorbent 10"}},
      {"uptake",
       [](ModelGraph& g) {
         process_named(g, "take").kind.kind = ProcessKind::Uptake{1, 3};
       },
       {"process `take` has unknown sorbent 3"}},
      {"exchange",
       [](ModelGraph& g) {
         process_named(g, "swap").kind.kind = ProcessKind::Exchange{5, 6};
       },
       {"process `swap` has unknown phase 5", "process `swap` has unknown phase 6"}},
      {"places",
       [](ModelGraph& g) {
         Process& p = process_named(g, "p");
         p.location = 2;
         p.from = 3;
         p.into = 4;
       },
       {"process `p` sits in unknown reservoir 2", "process `p` draws from unknown reservoir 3",
        "process `p` delivers into unknown reservoir 4"}},
      {"fractionated isotope",
       [](ModelGraph& g) { process_named(g, "sorb").fractionations[0].isotope = 1; },
       {"process `sorb` fractionates unknown isotope 1"}},
      {"fractionation law",
       [](ModelGraph& g) {
         process_named(g, "p").fractionations[0] = Fractionation{
             2, FractionationFactor{FractionationFactor::Law{parameter_expr(ParameterId{8})}}, std::nullopt};
       },
       {"process `p` fractionates unknown isotope 2", "law of `p` reads unknown parameter 8"}},
      {"table factor has no expression",
       [](ModelGraph& g) { process_named(g, "p").fractionations[0].factor.kind = FractionationFactor::Table{"t.csv"}; },
       {}},
      {"monod rate",
       [](ModelGraph& g) {
         process_named(g, "p").kinetics =
             Kinetics{RateLaw{RateLaw::Monod{parameter_expr(ParameterId{5}), parameter_expr(ParameterId{6})}}};
       },
       {"rate of `p` reads unknown parameter 5", "rate of `p` reads unknown parameter 6"}},
      {"first-order rate",
       [](ModelGraph& g) {
         process_named(g, "sorb").kinetics = Kinetics{RateLaw{RateLaw::FirstOrder{parameter_expr(ParameterId{3})}}};
       },
       {"rate of `sorb` reads unknown parameter 3"}},
      {"zero- and second-order rates",
       [](ModelGraph& g) {
         process_named(g, "take").kinetics = Kinetics{RateLaw{RateLaw::ZeroOrder{parameter_expr(ParameterId{3})}}};
         process_named(g, "swap").kinetics = Kinetics{RateLaw{RateLaw::SecondOrder{parameter_expr(ParameterId{4})}}};
       },
       {"rate of `take` reads unknown parameter 3", "rate of `swap` reads unknown parameter 4"}},
      {"extent and process parameters are not examined",
       [](ModelGraph& g) {
         process_named(g, "p").extent = parameter_expr(ParameterId{9});
         process_named(g, "p").parameters = {ParameterId{9}};
       },
       {}},
      {"parameter value read twice",
       [](ModelGraph& g) {
         g.parameters[0].value =
             binary_expr(BinaryOp::Add, parameter_expr(ParameterId{4}), parameter_expr(ParameterId{4}));
       },
       {"parameter `k` reads unknown parameter 4", "parameter `k` reads unknown parameter 4"}},
      {"sample id and composition",
       [](ModelGraph& g) {
         g.samples[1].id = 0;
         g.samples[1].compositions[0].isotope = 2;
       },
       {"sample `B` carries id 0 at index 1", "sample `B` carries unknown isotope 2"}},
      {"backend export",
       [](ModelGraph& g) { g.backends[0].exports[0].parameter = ParameterId{6}; },
       {"backend `eq` exports `Cr` into unknown parameter 6"}},
      {"identification without samples",
       [](ModelGraph& g) {
         g.samples.clear();
         g.identifications[0].source = 9;
         g.identifications[0].product = 9;
       },
       {"`find` reads unknown source sample 9", "`find` reads unknown product sample 9",
        "`find` compares a sample with itself"}},
      {"identification of one sample",
       [](ModelGraph& g) { g.identifications[0].product = 0; },
       {"`find` compares a sample with itself"}},
      {"simulation lists",
       [](ModelGraph& g) {
         g.simulation->reservoirs = {0, 2};
         g.simulation->processes = {5, 0, 6};
       },
       {"model lists unknown reservoir 2", "model lists unknown process 5", "model lists unknown process 6"}},
      {"stop condition on a pool",
       [](ModelGraph& g) {
         g.simulation->stop->subject = Subject{Subject::PoolComposition{2, 3, 1}};
       },
       {"stop condition names unknown reservoir 2", "stop condition names unknown species 3",
        "stop condition names unknown isotope 1"}},
      {"stop condition on an amount",
       [](ModelGraph& g) {
         g.simulation->stop->subject = Subject{Subject::Amount{0, 3}};
       },
       {"stop condition names unknown species 3"}},
      {"stop condition on a composition",
       [](ModelGraph& g) {
         g.simulation->stop->subject = Subject{Subject::Composition{5, 1}};
       },
       {"stop condition names unknown reservoir 5", "stop condition names unknown isotope 1"}},
      {"no simulation, nothing to check", [](ModelGraph& g) { g.simulation.reset(); }, {}},
      // Unlike the stop condition, an output checks the isotope of a pool before its species.
      {"output of a pool",
       [](ModelGraph& g) {
         g.outputs[3].variable.kind = Variable::PoolComposition{2, 3, 1};
       },
       {"Ocean.Cr(III).delta53Cr names unknown reservoir 2", "Ocean.Cr(III).delta53Cr names unknown isotope 1",
        "Ocean.Cr(III).delta53Cr names unknown species 3"}},
      {"outputs of amounts and fractions",
       [](ModelGraph& g) {
         g.outputs[1].variable.kind = Variable::Amount{2, 0};
         g.outputs[4].variable.kind = Variable::FractionRemaining{0, 3};
         g.outputs[5].variable.kind = Variable::FractionReacted{4, 5};
       },
       {"Ocean.Cr(VI) names unknown reservoir 2", "Ocean.Cr(VI).remaining names unknown species 3",
        "Ocean.Cr(VI).reacted names unknown reservoir 4", "Ocean.Cr(VI).reacted names unknown species 5"}},
      {"output of a composition",
       [](ModelGraph& g) {
         g.outputs[2].variable.kind = Variable::Composition{1, 1};
       },
       {"Sediment.delta53Cr names unknown isotope 1"}},
      {"output of a parameter",
       [](ModelGraph& g) { g.outputs[6].variable.kind = Variable::Parameter{ParameterId{3}}; },
       {"k reads unknown parameter 3"}},
      {"ids that are not examined",
       [](ModelGraph& g) {
         g.parameters[0].id = ParameterId{5};
         g.reservoirs[0].id = 7;
         g.processes[0].id = 9;
         g.requires_ = {"zzz"};
         g.isotopes[0].standard.reset();
         g.exports[0].path.clear();
       },
       {}},
  };
  for (const DefectCase& c : cases) {
    ModelGraph graph = consistent_graph();
    c.damage(graph);
    EXPECT_EQ(check_model_graph(graph), c.expected) << c.what;
  }
}

// One defect in every part of the graph: the messages follow the walk, species first and
// outputs last, and nothing stops the walk early.
TEST(CheckModelGraphTest, MessagesFollowTheWalkOrder) {
  ModelGraph graph = consistent_graph();
  graph.outputs[6].variable.kind = Variable::Parameter{ParameterId{20}};
  graph.simulation->processes.push_back(19);
  graph.identifications[0].source = 18;
  graph.backends[0].exports[0].parameter = ParameterId{17};
  graph.samples[0].compositions[0].isotope = 16;
  graph.parameters[2].value = parameter_expr(ParameterId{15});
  process_named(graph, "mix").into = 14;
  graph.reservoirs[1].pools[0].species = 13;
  graph.isotopes[0].id = 12;
  graph.species[0].id = 11;

  EXPECT_EQ(check_model_graph(graph), (Messages{
                                          "species `Cr(VI)` carries id 11 at index 0",
                                          "isotope `53Cr/52Cr` carries id 12 at index 0",
                                          "reservoir `Sediment` holds unknown species 13",
                                          "process `mix` delivers into unknown reservoir 14",
                                          "parameter `cr_out` reads unknown parameter 15",
                                          "sample `A` carries unknown isotope 16",
                                          "backend `eq` exports `Cr` into unknown parameter 17",
                                          "`find` reads unknown source sample 18",
                                          "model lists unknown process 19",
                                          "k reads unknown parameter 20",
                                      }));
}

TEST(CheckExprRefsTest, WalksDepthFirstLeftToRight) {
  ModelGraph graph;
  graph.parameters.push_back(Parameter{ParameterId{0}, "a", std::nullopt, std::nullopt});
  std::vector<Expr> args;
  args.push_back(binary_expr(BinaryOp::Subtract, parameter_expr(ParameterId{5}),
                             unary_expr(UnaryOp::Negate, parameter_expr(ParameterId{6}))));
  args.push_back(parameter_expr(ParameterId{0}));
  args.push_back(call_expr(Function::Abs, {}));
  args.push_back(parameter_expr(ParameterId{7}));
  Expr expr = binary_expr(BinaryOp::Power, call_expr(Function::Max, std::move(args)), parameter_expr(ParameterId{1}));

  EXPECT_EQ(check_expr_refs("law of `p`", graph, expr),
            (Messages{"law of `p` reads unknown parameter 5", "law of `p` reads unknown parameter 6",
                      "law of `p` reads unknown parameter 7", "law of `p` reads unknown parameter 1"}));
  EXPECT_EQ(check_expr_refs("x", graph, Expr(Expr::Temperature{})), Messages{});

  std::vector<Expr> list;
  list.push_back(parameter_expr(ParameterId{3}));
  list.push_back(constant_expr(1));
  list.push_back(binary_expr(BinaryOp::Add, parameter_expr(ParameterId{2}), Expr(Expr::Time{})));
  EXPECT_EQ(collect_expr_messages("rate of `q`", graph, list),
            (Messages{"rate of `q` reads unknown parameter 3", "rate of `q` reads unknown parameter 2"}));
}

TEST(CheckVariableRefsTest, ChecksEachIdOfTheSubjectInFieldOrder) {
  ModelGraph graph = consistent_graph();  // 2 reservoirs, 3 species, 1 isotope system
  EXPECT_EQ(check_variable_refs("s", graph, Subject{Subject::Time{}}), Messages{});
  EXPECT_EQ(check_variable_refs("s", graph, Subject{Subject::PoolComposition{1, 2, 0}}), Messages{});
  EXPECT_EQ(check_variable_refs("s", graph, Subject{Subject::FractionReacted{2, 3}}),
            (Messages{"s names unknown reservoir 2", "s names unknown species 3"}));
  EXPECT_EQ(check_variable_refs("s", graph, Subject{Subject::FractionRemaining{1, 4294967295u}}),
            (Messages{"s names unknown species 4294967295"}));
}

}  // namespace
}  // namespace ovm::ir
