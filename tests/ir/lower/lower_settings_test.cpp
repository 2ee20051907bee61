// Settings blocks: unit defaults, title and meta data, databases, conditions, standards and
// backends.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ir/graph/model_graph.hpp"
#include "lower_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::lower_checked;
using testing::lower_unchecked;

std::optional<double> ionic_strength(const ModelGraph& graph) { return graph.conditions.ionic_strength; }

TEST(LowerUnitsTest, ConcentrationKeepsOneDefaultPerDimension) {
  // umol/kgw, then mg/L: both stand; a later molality unit replaces the first.
  ModelGraph both = lower_checked(
      "UNITS\n    concentration umol/kgw\n    concentration mg/L\n\n"
      "CONDITIONS\n    ionic_strength 2\n\nRESERVOIR A\n    Cr(VI) 3\n");
  EXPECT_EQ(ionic_strength(both), 2 * 1e-6);
  EXPECT_EQ(both.reservoirs.at(0).pools.at(0).amount, (Amount{Amount::Molality{3 * 1e-6}}));

  ModelGraph replaced = lower_checked(
      "UNITS\n    concentration umol/kgw\n    concentration mg/L\n    concentration mmol/kgw\n\n"
      "CONDITIONS\n    ionic_strength 2\n");
  EXPECT_EQ(ionic_strength(replaced), 2 * 1e-3);

  ModelGraph mass_only = lower_checked("UNITS\n    concentration ug/L\n\nRESERVOIR A\n    Cr(VI) 1.2\n");
  EXPECT_EQ(mass_only.reservoirs.at(0).pools.at(0).amount, (Amount{Amount::MassConcentration{1.2 * 1e-3}}));
}

TEST(LowerUnitsTest, AUnitOfAnotherDimensionOrAnUnknownUnitSetsNoDefault) {
  EXPECT_FALSE(lower_unchecked("UNITS\n    time kg\n\nMODEL M\n    step 1\n    until time > 5\n").simulation->step_seconds);
  EXPECT_FALSE(lower_unchecked("UNITS\n    time fortnight\n\nMODEL M\n    step 1\n    until time > 5\n")
                   .simulation->step_seconds);
  EXPECT_EQ(lower_checked("UNITS\n    time h\n\nMODEL M\n    step 2\n    until time > 5\n").simulation->step_seconds,
            7200.0);
}

TEST(LowerUnitsTest, DefaultsReachBlocksAboveTheUnitsBlock) {
  ModelGraph graph = lower_checked("RESERVOIR A\n    temperature 20\n    Cr(VI) 4\n\nUNITS\n    temperature C\n"
                                   "    concentration umol/kgw\n");
  EXPECT_EQ(graph.reservoirs.at(0).temperature_k, 20 * 1.0 + 273.15);
  EXPECT_EQ(graph.reservoirs.at(0).pools.at(0).amount, (Amount{Amount::Molality{4 * 1e-6}}));
}

TEST(LowerTitleTest, TakesTheFirstLineTrimmed) {
  ModelGraph graph = lower_checked("TITLE\n    Chromium in the   Rhine   \n    second line\n\nMETA\n    author a\n");
  EXPECT_EQ(graph.meta.title, "Chromium in the   Rhine");
  EXPECT_FALSE(lower_unchecked("TITLE\n\nMETA\n    author a\n").meta.title);
  // A comment ends the title, even one that starts in the middle of the line.
  EXPECT_EQ(lower_checked("TITLE\n    Chromium in the Rhine   # first try\n").meta.title, "Chromium in the Rhine");
  EXPECT_EQ(lower_checked("TITLE\n    Run #2 of the Rhine\n").meta.title, "Run");
}

TEST(LowerMetaTest, TheLastStatementOfAKeyWinsAndOneWithoutValueClears) {
  ModelGraph graph = lower_unchecked(
      "META\n    author \"A. One\"\n    author \"B. Two\"\n    date 2024-05-01\n    version 1.0\n"
      "    language 0.5\n    description \"d\"\n    license MIT\n    reference doi\n");
  Meta expected;
  expected.author = "B. Two";
  expected.date = "2024-05-01";
  expected.version = "1.0";
  expected.language = "0.5";  // a number keeps its digits as written
  expected.description = "d";
  expected.license = "MIT";
  expected.reference = "doi";
  EXPECT_EQ(graph.meta, expected);
  EXPECT_FALSE(lower_unchecked("META\n    author \"A. One\"\n    author\n").meta.author);
  EXPECT_EQ(lower_unchecked("META\n    version 1.10\n    language 00.50\n").meta.version, "1.10");
  EXPECT_EQ(lower_unchecked("META\n    language 00.50\n").meta.language, "00.50");
}

TEST(LowerDatabaseTest, EveryStatementWithATextIsOneReferenceInOrder) {
  ModelGraph graph = lower_checked("DATABASE\n    file \"cr.ovdb\"\n    file \"cr.ovdb\"\n    file \"fe.ovdb\"\n");
  std::vector<DatabaseRef> expected = {{"cr.ovdb", std::nullopt, std::nullopt},
                                       {"cr.ovdb", std::nullopt, std::nullopt},
                                       {"fe.ovdb", std::nullopt, std::nullopt}};
  EXPECT_EQ(graph.provenance.databases, expected);
}

TEST(LowerConditionsTest, ConvertsEachQuantityToItsBaseUnit) {
  ModelGraph graph = lower_checked(
      "CONDITIONS\n    temperature 25 C\n    pressure 2 atm\n    pH 7.2\n    Eh 0.1 V\n"
      "    ionic_strength 5 mmol/kgw\n");
  Conditions expected{25 * 1.0 + 273.15, 2 * 1.01325, 7.2, 0.1 * 1000, 5 * 1e-3};
  EXPECT_EQ(graph.conditions, expected);
  EXPECT_EQ(graph.conditions.temperature_k, 298.15);
}

TEST(LowerConditionsTest, WithoutAUsableUnitTheFieldIsAbsent) {
  // Temperature has three units and no default here; pH takes no unit at all.
  ModelGraph graph = lower_unchecked("CONDITIONS\n    temperature 25\n    pH 7.2 mV\n");
  EXPECT_FALSE(graph.conditions.temperature_k);
  EXPECT_EQ(graph.conditions.ph, 7.2);
  // A later statement that cannot be read clears what an earlier one set.
  EXPECT_FALSE(lower_unchecked("CONDITIONS\n    temperature 25 C\n    temperature 30\n").conditions.temperature_k);
}

TEST(LowerStandardTest, ALaterStatementOfTheSameNameReplacesTheStandard) {
  ModelGraph graph = lower_checked(
      "STANDARD\n    standard NIST979 0.1 ratio 53Cr/52Cr\n"
      "    standard NIST979 0.113386 ratio 53Cr/52Cr uncertainty 0.000005\n\n"
      "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n    ratio 50Cr/52Cr standard NIST979\n");
  ASSERT_EQ(graph.isotopes.size(), 2u);
  for (const IsotopeSystem& system : graph.isotopes) {
    EXPECT_EQ(system.standard, (Standard{"NIST979", 0.113386, 0.000005}));
  }
}

TEST(LowerStandardTest, AStatementWithoutARatioNumberIsSkipped) {
  ModelGraph graph = lower_unchecked(
      "STANDARD\n    standard NIST979 0.113386 ratio 53Cr/52Cr\n    standard NIST979 ratio 53Cr/52Cr\n"
      "    standard SRM uncertainty\n\n"
      "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n    ratio 50Cr/52Cr standard SRM\n");
  EXPECT_EQ(graph.isotopes.at(0).standard, (Standard{"NIST979", 0.113386, std::nullopt}));
  EXPECT_FALSE(graph.isotopes.at(1).standard);
}

TEST(LowerPhreeqcTest, ABlockWithAnInputPathAddsABackend) {
  ModelGraph graph = lower_checked(
      "PHREEQC Geo\n    input file \"run.pqi\"\n    database \"phreeqc.dat\"\n    mode series\n"
      "    export \"si\" to SI\n    export \"si_calcite\" to SI_cal\n\n"
      "PARAMETERS\n    k = 2\n",
      sema::Profile::Extended);
  ASSERT_EQ(graph.backends.size(), 1u);
  const Backend& backend = graph.backends[0];
  EXPECT_EQ(backend.name, "Geo");
  EXPECT_EQ(backend.input_path, "run.pqi");
  EXPECT_EQ(backend.database, "phreeqc.dat");
  EXPECT_EQ(backend.mode, BackendMode::Series);
  std::vector<BackendExport> exports = {{"si", ParameterId{0}}, {"si_calcite", ParameterId{1}}};
  EXPECT_EQ(backend.exports, exports);
  // The export targets take the first parameter ids, without owner and without value.
  ASSERT_EQ(graph.parameters.size(), 3u);
  EXPECT_EQ(graph.parameters[0], (Parameter{ParameterId{0}, "SI", std::nullopt, std::nullopt}));
  EXPECT_EQ(graph.parameters[1], (Parameter{ParameterId{1}, "SI_cal", std::nullopt, std::nullopt}));
  EXPECT_EQ(graph.parameters[2].name, "k");
}

TEST(LowerPhreeqcTest, ModeIsOneshotUnlessExactlySeriesAndALoneIdentifierIsColumnAndTarget) {
  ModelGraph graph = lower_unchecked("PHREEQC Geo\n    input file \"run.pqi\"\n    mode Series\n    export SI\n",
                                     sema::Profile::Extended);
  ASSERT_EQ(graph.backends.size(), 1u);
  EXPECT_EQ(graph.backends[0].mode, BackendMode::Oneshot);
  EXPECT_FALSE(graph.backends[0].database);
  EXPECT_EQ(graph.backends[0].exports, (std::vector<BackendExport>{{"SI", ParameterId{0}}}));
  EXPECT_EQ(graph.parameters.at(0).name, "SI");
}

TEST(LowerPhreeqcTest, WithoutInputOrNameThereIsNoBackendButExportsStillDeclareParameters) {
  ModelGraph no_input = lower_unchecked("PHREEQC Geo\n    export SI\n", sema::Profile::Extended);
  EXPECT_TRUE(no_input.backends.empty());
  EXPECT_EQ(no_input.parameters, (std::vector<Parameter>{{ParameterId{0}, "SI", std::nullopt, std::nullopt}}));
  ModelGraph no_name = lower_unchecked("PHREEQC\n    input file \"run.pqi\"\n    export SI\n", sema::Profile::Extended);
  EXPECT_TRUE(no_name.backends.empty());
  EXPECT_TRUE(no_name.parameters.empty());
}

TEST(LowerPhreeqcTest, TheOneWordInputKeyAlsoGivesTheBackend) {
  ModelGraph graph = lower_checked("PHREEQC Geo\n    input_file \"run.pqi\"\n", sema::Profile::Extended);
  ASSERT_EQ(graph.backends.size(), 1u);
  EXPECT_EQ(graph.backends[0].input_path, "run.pqi");
}

}  // namespace
}  // namespace ovm::ir
