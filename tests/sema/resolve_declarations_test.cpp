#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resolve_support.hpp"
#include "sema/resolution.hpp"

namespace ovm::sema {
namespace {

using testing::Finding;
using testing::model;
using testing::resolve_findings;
using testing::ResolveCase;
using testing::ResolveFindingsTest;

Finding duplicate(std::uint32_t line, std::string name, std::string label, std::uint32_t first_line,
                  std::string first_at) {
  Finding finding{"OV102", line, std::move(name), std::move(label)};
  finding.note_line = first_line;
  finding.note_at = std::move(first_at);
  return finding;
}

INSTANTIATE_TEST_SUITE_P(
    Entities, ResolveFindingsTest,
    ::testing::Values(
        ResolveCase{"OneNamespaceForEveryKind",
                    model({"RESERVOIR Ocean", "PROCESS Ocean", "MODEL Ocean"}),
                    {duplicate(2, "Ocean", "`Ocean` is already declared", 1, "Ocean"),
                     duplicate(3, "Ocean", "`Ocean` is already declared", 1, "Ocean")}},
        ResolveCase{"NamesDifferInCase", model({"RESERVOIR Ocean", "RESERVOIR OCEAN"}), {}},
        ResolveCase{"ExtendedKindsDeclareToo",
                    model({"LAW Rule", "PHREEQC Rule"}),
                    {duplicate(2, "Rule", "`Rule` is already declared", 1, "Rule")},
                    Profile::Extended},
        // FRACTIONATION and KINETICS name a process; they declare nothing of their own.
        ResolveCase{"NamedBlocksDeclareNothing",
                    model({"FRACTIONATION Flow", "KINETICS Flow", "PROCESS Flow", "FRACTIONATION Flow"}),
                    {}},
        ResolveCase{"NamedProcessMissing",
                    model({"PROCESS Precipitation", "PROCESS Reduction", "KINETICS Precip"}),
                    {{"OV101", 3, "Precip", "no Process named `Precip`", "known: Precipitation, Reduction"}}},
        ResolveCase{"NamedProcessNearAnother",
                    model({"RESERVOIR Flaw", "PROCESS Flow", "FRACTIONATION Flew"}),
                    {{"OV101", 3, "Flew", "no Process named `Flew`", "did you mean `Flow`?"}}},
        ResolveCase{"NamedProcessNoneDeclared",
                    model({"FRACTIONATION Flow"}),
                    {{"OV101", 1, "Flow", "no Process named `Flow`", "nothing of that kind is declared"}}},
        ResolveCase{"NamedProcessIsAReservoir",
                    model({"RESERVOIR Ocean", "FRACTIONATION Ocean"}),
                    {{"OV101", 2, "Ocean", "`Ocean` is a Reservoir, not a Process"}}},
        // Parameters are declared after the header identifiers are checked.
        ResolveCase{"NamedProcessIsAParameter",
                    model({"PARAMETERS", "  K1 = 2", "PROCESS P1", "KINETICS K1"}),
                    {{"OV101", 4, "K1", "no Process named `K1`", "did you mean `P1`?"}}}),
    testing::case_name);

INSTANTIATE_TEST_SUITE_P(
    Bindings, ResolveFindingsTest,
    ::testing::Values(
        ResolveCase{"BuiltInNamesCannotBeRebound",
                    model({"PARAMETERS", "  T = 300", "  time = 1", "  R = 8", "  t = 1"}),
                    {{"OV110", 2, "T", "`T` is built in and cannot be rebound"},
                     {"OV110", 3, "time", "`time` is built in and cannot be rebound"},
                     {"OV110", 4, "R", "`R` is built in and cannot be rebound"}}},
        ResolveCase{"ParameterDeclaredTwice",
                    model({"PARAMETERS", "  k = 1", "  j = k", "  k = 2"}),
                    {duplicate(4, "k", "`k` is already declared", 2, "k")}},
        ResolveCase{"ParameterNamedLikeAnEntity",
                    model({"PARAMETERS", "  Ocean = 1", "RESERVOIR Ocean"}),
                    {duplicate(2, "Ocean", "`Ocean` is already declared", 3, "Ocean")}},
        // Only assignments bind; the other forms are validation's to report.
        ResolveCase{"OnlyAssignmentsBind",
                    model({"PARAMETERS", "  k 5", "  T 300", "  x = k"}),
                    {{"OV107", 4, "k", "`k` is not declared", "did you mean `x`?"}}},
        ResolveCase{"ExportAfterParameterLeavesTheParameter",
                    model({"PARAMETERS", "  out = 1", "PHREEQC Geo", "  export \"pH\" to out"}),
                    {},
                    Profile::Extended},
        ResolveCase{"ParameterAfterExportIsRefused",
                    model({"PHREEQC Geo", "  Export \"pH\" to out", "PARAMETERS", "  out = 1"}),
                    {{"OV110", 4, "out", "`out` is produced by a backend and cannot be rebound"}},
                    Profile::Extended},
        ResolveCase{"ExportOfATakenNameIsSilent",
                    model({"RESERVOIR Ocean", "PHREEQC Geo", "  export \"pH\" to Ocean", "  EXPORT \"Eh\" to Geo"}),
                    {},
                    Profile::Extended},
        ResolveCase{
            "LocalDeclaredTwice",
            model({"RESERVOIR Ocean", "  parameter x = 1", "  PARAMETER x = 2", "RESERVOIR Lake", "  Parameter x = 3"}),
            {duplicate(3, "x", "`x` is already declared in this block", 2, "x")}},
        ResolveCase{"LocalShadowsAGlobal",
                    model({"PARAMETERS", "  k = 1", "PROCESS Flow", "  parameter k = 2", "  parameter Flow = 3"}),
                    {{"OV108", 4, "k", "`k` also exists at global scope"},
                     {"OV108", 5, "Flow", "`Flow` also exists at global scope"}}},
        ResolveCase{"LocalBuiltInNameIsAccepted", model({"RESERVOIR Ocean", "  parameter T = 300", "  mass = T"}), {}},
        // CONDITIONS has no name, so its `parameter` lines bind nothing.
        ResolveCase{"UnnamedBlockBindsNothing",
                    model({"CONDITIONS", "  parameter k = 2", "  pH = k"}),
                    {{"OV107", 3, "k", "`k` is not declared", "nothing of that kind is declared"}}},
        ResolveCase{"KindWithoutLocalsBindsNothing",
                    model({"MODEL Main", "  parameter x = 1", "  until x > 2"}),
                    {{"OV107", 3, "x", "`x` is not declared", "known: Main"}}},
        // Only top-level statements bind.
        ResolveCase{"NestedStatementsBindNothing",
                    model({"RESERVOIR Ocean", "  group", "    parameter y = 1", "  mass = y"}),
                    {{"OV107", 4, "y", "`y` is not declared", "known: Ocean"}}}),
    testing::case_name);

TEST(DeclarationPassTest, TableHoldsEveryKindInDeclarationOrder) {
  std::string text = model({"PARAMETERS", "  k = 1", "PHREEQC Geo", "  export \"pH\" to ph_out", "RESERVOIR Ocean",
                            "  parameter x = 2", "PROCESS Flow", "  parameter x = 3", "LAW Rule"});
  Resolution resolution = resolve_model(testing::parse_model(text), Profile::Extended);
  EXPECT_TRUE(resolution.diagnostics.empty());

  // Entities first (in block order), then parameters and backend values as their blocks come.
  std::vector<std::string> order;
  for (const Symbol& symbol : resolution.symbols.globals.in_order()) {
    order.push_back(std::string(symbol.name()) + ":" + std::string(symbol.kind.display_word()));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Geo:Backend", "Ocean:Reservoir", "Flow:Process", "Rule:Law",
                                             "k:parameter", "ph_out:backend value"}));

  const Symbol* k = lookup_global(resolution.symbols, "k");
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(text.substr(k->span.start, k->span.end - k->span.start), "k");
  const Symbol* exported = lookup_global(resolution.symbols, "ph_out");
  ASSERT_NE(exported, nullptr);
  EXPECT_EQ(text.substr(exported->span.start, exported->span.end - exported->span.start), "ph_out");

  ASSERT_EQ(resolution.symbols.locals.in_order().size(), 2u);
  EXPECT_EQ(resolution.symbols.locals.in_order()[0].scope, "Ocean");
  EXPECT_EQ(resolution.symbols.locals.in_order()[1].scope, "Flow");
  const Symbol* local = lookup_local(resolution.symbols, "Flow", "x");
  ASSERT_NE(local, nullptr);
  EXPECT_EQ(local->kind.tag, SymbolKind::Tag::Parameter);
  EXPECT_EQ(lookup_global(resolution.symbols, "x"), nullptr);
}

}  // namespace
}  // namespace ovm::sema
