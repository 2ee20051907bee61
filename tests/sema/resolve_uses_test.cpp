#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resolve_support.hpp"

namespace ovm::sema {
namespace {

using testing::Finding;
using testing::model;
using testing::resolve_findings;
using testing::ResolveCase;
using testing::ResolveFindingsTest;

// Lines 1 to 5 declare two reservoirs, a process and a parameter; the lines given follow, so
// indented ones continue the PARAMETERS block.
std::string with_entities(std::initializer_list<std::string_view> lines) {
  std::string text = model({"RESERVOIR Ocean", "RESERVOIR Lake", "PROCESS Flow", "PARAMETERS", "  k = 1"});
  return text + model(lines);
}

INSTANTIATE_TEST_SUITE_P(
    References, ResolveFindingsTest,
    ::testing::Values(
        ResolveCase{"DeclaredReferences",
                    with_entities({"PROCESS Move", "  from Ocean", "  into Lake", "  product k", "  product Flow",
                                   "  location Lake", "  reactant Cr(VI)"}),
                    {}},
        ResolveCase{"ReferenceNearAName",
                    with_entities({"PROCESS Move", "  from Ocen"}),
                    {{"OV101", 7, "Ocen", "no Reservoir named `Ocen`", "did you mean `Ocean`?"}}},
        // Only entities of the expected kind are offered.
        ResolveCase{"ReferenceCandidatesAreOfTheKind",
                    with_entities({"PROCESS Move", "  into Flaw"}),
                    {{"OV101", 7, "Flaw", "no Reservoir named `Flaw`", "known: Lake, Ocean"}}},
        ResolveCase{"ReferenceOfAnotherKind",
                    with_entities({"PROCESS Move", "  from Flow", "  into k"}),
                    {{"OV101", 7, "Flow", "`Flow` is a Process, not a Reservoir"},
                     {"OV101", 8, "k", "`k` is a parameter, not a Reservoir"}}},
        ResolveCase{
            "BuiltInNamesAreAccepted", with_entities({"PROCESS Move", "  from time", "  into T", "  reactant R"}), {}},
        ResolveCase{"SpeciesReferenceWrittenAsName",
                    with_entities({"PROCESS Move", "  reactant H2O"}),
                    {{"OV101", 7, "H2O", "no Species named `H2O`", "nothing of that kind is declared"}}},
        ResolveCase{"AnyReferenceUndeclared",
                    with_entities({"OUTPUT", "  variable Lak", "  variable Ocean.Cr"}),
                    {{"OV101", 7, "Lak", "no any named `Lak`", "did you mean `Lake`?"}}},
        ResolveCase{"AnyReferenceOffersEveryGlobal",
                    with_entities({"PROCESS Move", "  product Nothing"}),
                    {{"OV101", 7, "Nothing", "no any named `Nothing`", "known: Flow, Lake, Move, Ocean, k"}}},
        // Locals are never references.
        ResolveCase{"ReferencesIgnoreLocals",
                    with_entities({"PROCESS Move", "  parameter Basin = 1", "  from Basin"}),
                    {{"OV101", 8, "Basin", "no Reservoir named `Basin`", "known: Lake, Ocean"}}},
        ResolveCase{
            "OnlyTheFirstValueIsAReference", with_entities({"PROCESS Move", "  from Ocean Nowhere", "  into 5"}), {}},
        ResolveCase{"NamedNumberReference",
                    with_entities({"PROCESS Mix", "  source Ocean 0.4", "  source Lak 0.6"}),
                    {{"OV101", 8, "Lak", "no Reservoir named `Lak`", "did you mean `Lake`?"}}},
        ResolveCase{"ListReferences",
                    with_entities({"MODEL Main", "  reservoirs [Ocean, Nope, Lake]", "  processes [Ocean]"}),
                    {{"OV101", 7, "Nope", "no Reservoir named `Nope`", "known: Lake, Ocean"},
                     {"OV101", 8, "Ocean", "`Ocean` is a Reservoir, not a Process"}}},
        ResolveCase{"LawReference",
                    model({"LAW Rule", "PROCESS Move", "  law Rule", "PROCESS Other", "  law Rul"}),
                    {{"OV101", 5, "Rul", "no Law named `Rul`", "did you mean `Rule`?"}},
                    Profile::Extended},
        ResolveCase{"SampleReferences",
                    model({"SAMPLE Top", "IDENTIFY Gap", "  source Top", "  product Bottom"}),
                    {{"OV101", 4, "Bottom", "no Sample named `Bottom`", "known: Top"}},
                    Profile::Identification},
        // Keys are matched in any case; unknown keys and other value kinds are not examined.
        ResolveCase{"ReferenceKeysFoldCase",
                    with_entities({"PROCESS Move", "  FROM Ocen", "  Reactant H2O"}),
                    {{"OV101", 7, "Ocen", "no Reservoir named `Ocen`", "did you mean `Ocean`?"},
                     {"OV101", 8, "H2O", "no Species named `H2O`", "nothing of that kind is declared"}}},
        ResolveCase{"NoReferenceWithoutAReferenceKind",
                    with_entities({"PROCESS Move", "  type Ocen", "  colour Nowhere", "  context Nobody"}),
                    {}}),
    testing::case_name);

INSTANTIATE_TEST_SUITE_P(
    Expressions, ResolveFindingsTest,
    ::testing::Values(
        ResolveCase{"DeclaredNamesOfEveryKind", with_entities({"  a = k * Ocean + time - R / T", "  b = -a ^ 2"}), {}},
        ResolveCase{"UndeclaredName",
                    with_entities({"  a = 2 * kk + z"}),
                    {{"OV107", 6, "kk", "`kk` is not declared", "did you mean `k`?"},
                     {"OV107", 6, "z", "`z` is not declared", "did you mean `k`?"}}},
        ResolveCase{"BuiltInNamesAreExact",
                    model({"PARAMETERS", "  a = t + r"}),
                    {{"OV107", 2, "t", "`t` is not declared", "did you mean `a`?"},
                     {"OV107", 2, "r", "`r` is not declared", "did you mean `a`?"}}},
        ResolveCase{"DeclarationOrderDoesNotMatter",
                    model({"PARAMETERS", "  a = b + Ocean", "  b = 1", "RESERVOIR Ocean"}),
                    {}},
        ResolveCase{"LocalsOfTheBlock",
                    with_entities({"RESERVOIR Sea", "  parameter depth = 4", "  mass = depth * 2", "RESERVOIR Bay",
                                   "  mass = depth"}),
                    {{"OV107", 10, "depth", "`depth` is not declared", "known: Bay, Flow, Lake, Ocean, Sea, k"}}},
        // Blocks that share a name share a scope.
        ResolveCase{"LocalsSharedByName",
                    model({"PROCESS Flow", "  parameter kf = 2", "KINETICS Flow", "  constant = kf * 3",
                           "FRACTIONATION Flow", "  alpha = 1 + kf", "KINETICS Other", "  constant = kf"}),
                    {{"OV101", 7, "Other", "no Process named `Other`", "known: Flow"},
                     {"OV107", 8, "kf", "`kf` is not declared", "known: Flow"}}},
        ResolveCase{"QualifiedHeadIsAnEntity", with_entities({"  a = Ocean.Cr(VI) + Lake.volume"}), {}},
        ResolveCase{"QualifiedHeadIsAScalar",
                    with_entities({"  a = k.value * 2"}),
                    {{"OV109", 6, "k.value", "`k` is a scalar and has no properties"}}},
        ResolveCase{"QualifiedHeadUndeclared",
                    with_entities({"  a = Ocan.Cr"}),
                    {{"OV101", 6, "Ocan", "`Ocan` is not declared", "did you mean `Ocean`?"}}},
        ResolveCase{"QualifiedHeadIsNeverLocalNorBuiltIn",
                    model({"RESERVOIR Sea", "  parameter r = 1", "  mass = r.x + time.x"}),
                    {{"OV101", 3, "r", "`r` is not declared", "known: Sea"},
                     {"OV101", 3, "time", "`time` is not declared", "known: Sea"}}},
        ResolveCase{"ConditionSides",
                    with_entities({"MODEL Main", "  until time >= limit", "  until Lak.Cr < k"}),
                    {{"OV107", 7, "limit", "`limit` is not declared", "known: Flow, Lake, Main, Ocean, k"},
                     {"OV101", 8, "Lak", "`Lak` is not declared", "did you mean `Lake`?"}}},
        ResolveCase{"NestedStatementsAreResolved",
                    with_entities({"FRACTIONATION Flow", "  law", "    alpha = 1 + gamma", "    epsilon = k"}),
                    {{"OV107", 8, "gamma", "`gamma` is not declared", "known: Flow, Lake, Ocean, k"}}},
        ResolveCase{"AssignmentsWithoutAProperty",
                    with_entities({"RESERVOIR Sea", "  colour = hue"}),
                    {{"OV107", 7, "hue", "`hue` is not declared", "known: Flow, Lake, Ocean, Sea, k"}}}),
    testing::case_name);

const std::string known_functions = "known: abs, exp, ln, log10, max, min, pow, sqrt";

INSTANTIATE_TEST_SUITE_P(
    Calls, ResolveFindingsTest,
    ::testing::Values(ResolveCase{"KnownFunctions",
                                  model({"PARAMETERS",
                                         "  a = exp(1) + ln(2) + log10(3) + sqrt(4) + abs(-5) + pow(2, 3) + min(1, 2)",
                                         "  b = max(a, a)"}),
                                  {}},
                      ResolveCase{"ArgumentsAreResolved",
                                  model({"PARAMETERS", "  a = sqrt(b) + max(1, c)"}),
                                  {{"OV107", 2, "b", "`b` is not declared", "did you mean `a`?"},
                                   {"OV107", 2, "c", "`c` is not declared", "did you mean `a`?"}}},
                      // The help lists the functions whatever the name, and names are compared byte for byte.
                      ResolveCase{"UnknownFunction",
                                  model({"PARAMETERS", "  a = sqr(2) + sQrt(4)"}),
                                  {{"OV107", 2, "sqr", "`sqr` is not a known function", known_functions},
                                   {"OV107", 2, "sQrt", "`sQrt` is not a known function", known_functions}}},
                      ResolveCase{"UnknownFunctionThenItsArguments",
                                  model({"PARAMETERS", "  a = 1 + foo(bar, a)"}),
                                  {{"OV107", 2, "foo", "`foo` is not a known function", known_functions},
                                   {"OV107", 2, "bar", "`bar` is not declared", "did you mean `a`?"}}},
                      ResolveCase{"UnknownFunctionWithoutArguments",
                                  model({"MODEL Main", "  until now() > 1"}),
                                  {{"OV107", 2, "now", "`now` is not a known function", known_functions}}}),
    testing::case_name);

// A number written as a name is read like a name in an expression.
INSTANTIATE_TEST_SUITE_P(
    NumbersWrittenAsNames, ResolveFindingsTest,
    ::testing::Values(
        ResolveCase{"DeclaredOrBuiltIn",
                    with_entities({"KINETICS Flow", "  rate first_order", "  constant k", "RESERVOIR Sea",
                                   "  parameter v = 2", "  volume v", "  temperature T", "  mass Ocean"}),
                    {}},
        ResolveCase{"Undeclared",
                    with_entities({"  k_type = 1", "KINETICS Flow", "  constant k_typo"}),
                    {{"OV107", 8, "k_typo", "`k_typo` is not declared", "did you mean `k_type`?"}}},
        ResolveCase{"KeyInAnyCase",
                    with_entities({"KINETICS Flow", "  Constant kk", "  HALF_SATURATION ks"}),
                    {{"OV107", 7, "kk", "`kk` is not declared", "did you mean `k`?"},
                     {"OV107", 8, "ks", "`ks` is not declared", "did you mean `k`?"}}},
        // The number of a named number stands after the name.
        ResolveCase{"NamedNumber",
                    with_entities({"PROCESS Mix", "  source Ocean share", "  source Lake k"}),
                    {{"OV107", 7, "share", "`share` is not declared", "known: Flow, Lake, Mix, Ocean, k"}}},
        ResolveCase{"OnlyNumberProperties",
                    with_entities({"KINETICS Flow", "  rate fast", "RESERVOIR Sea", "  volume 2 L", "  mass 1 kg"}),
                    {}},
        ResolveCase{"OnlyTheMainValue",
                    with_entities({"RESERVOIR Sea", "  volume 2 litres", "  mass v2 extra"}),
                    {{"OV107", 8, "v2", "`v2` is not declared", "did you mean `k`?"}}}),
    testing::case_name);

// Among equally close candidates the earliest offered wins, and candidates are offered in
// declaration order: entities before parameters and backend values, whatever the order of the
// text. Past the header case, byte order or text order would choose another candidate.
INSTANTIATE_TEST_SUITE_P(
    SuggestionTies, ResolveFindingsTest,
    ::testing::Values(
        ResolveCase{"HeaderTieKeepsTheEarlierKeyword",
                    model({"Eport"}),
                    {{"OV003", 1, "Eport", "unknown block", "did you mean `EXPORT`?"}}},
        ResolveCase{"ReferenceTieKeepsTheEarlierDeclared",
                    model({"RESERVOIR Lake", "RESERVOIR Bake", "PROCESS Move", "  from Cake"}),
                    {{"OV101", 4, "Cake", "no Reservoir named `Cake`", "did you mean `Lake`?"}}},
        ResolveCase{"NamedProcessTieFollowsTheText",
                    model({"PROCESS Flow", "PROCESS Flaw", "FRACTIONATION Flew", "PROCESS Gap", "PROCESS Cap",
                           "KINETICS Bap"}),
                    {{"OV101", 3, "Flew", "no Process named `Flew`", "did you mean `Flow`?"},
                     {"OV101", 6, "Bap", "no Process named `Bap`", "did you mean `Gap`?"}}},
        ResolveCase{"EntitiesAreOfferedBeforeParameters",
                    model({"PARAMETERS", "  Lakd = 1", "  a = Lakx", "RESERVOIR Lake"}),
                    {{"OV107", 3, "Lakx", "`Lakx` is not declared", "did you mean `Lake`?"}}},
        ResolveCase{"AnyReferenceTieAmongEntitiesAndParameters",
                    model({"PARAMETERS", "  Lakd = 1", "RESERVOIR Lake", "PROCESS Move", "  product Lakx"}),
                    {{"OV101", 5, "Lakx", "no any named `Lakx`", "did you mean `Lake`?"}}},
        ResolveCase{"ScalarsAreOfferedInBlockOrder",
                    model({"PARAMETERS", "  ph_b = 1", "  a = ph_c", "PHREEQC Geo", "  export \"pH\" to ph_a"}),
                    {{"OV107", 3, "ph_c", "`ph_c` is not declared", "did you mean `ph_b`?"}},
                    Profile::Extended},
        ResolveCase{"BackendValueBeforeParameter",
                    model({"PHREEQC Geo", "  export \"pH\" to ph_b", "PARAMETERS", "  ph_a = 1", "  a = ph_c"}),
                    {{"OV107", 5, "ph_c", "`ph_c` is not declared", "did you mean `ph_b`?"}},
                    Profile::Extended}),
    testing::case_name);

TEST(UsePassTest, FindingsComePassByPass) {
  // A use in the first block is reported after a header finding of the last.
  std::string text = model({"PARAMETERS", "  a = missing", "RESERVOIR ocean", "PROCESS Flow", "  from Nowhere",
                            "KINETICS Gone", "RESERVOIR ocean"});
  std::vector<std::string> codes;
  for (const Finding& finding : resolve_findings(text)) codes.push_back(finding.code + "@" + finding.at);
  EXPECT_EQ(codes, (std::vector<std::string>{"OV010@ocean", "OV010@ocean", "OV102@ocean", "OV101@Gone", "OV107@missing",
                                             "OV101@Nowhere"}));
}

}  // namespace
}  // namespace ovm::sema
