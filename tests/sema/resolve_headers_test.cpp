#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resolve_support.hpp"
#include "sema/block_table.hpp"
#include "sema/resolution.hpp"

namespace ovm::sema {
namespace {

using testing::Finding;
using testing::model;
using testing::resolve_findings;
using testing::ResolveCase;
using testing::ResolveFindingsTest;

const std::string every_keyword =
    "known: ADSORPTION, CONDITIONS, DATABASE, DATASET, EXCHANGE, EXPORT, FIT, FRACTIONATION, IDENTIFY, INITIAL, "
    "ISOTOPES, KINETICS, LAW, META, MODEL, MONTE_CARLO, OUTPUT, PARAMETERS, PHREEQC, PLOT, PROCESS, RAYLEIGH, "
    "REPORT, RESERVOIR, SAMPLE, SENSITIVITY, SOLUTION, SPECIES, STANDARD, TITLE, UNITS";

const Finding statement_key_header(std::uint32_t line, std::string at) {
  return {"OV004", line, std::move(at), "this is a statement key, not a block header",
          "indent it to attach it to the block above"};
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ResolveFindingsTest,
    ::testing::Values(
        ResolveCase{"KnownKindsInAnyCase", model({"META", "reservoir Ocean", "Process Flow", "UnItS"}), {}},
        ResolveCase{"StatementKeyAsHeader", model({"volume"}), {statement_key_header(1, "volume")}},
        ResolveCase{
            "StatementKeyAsHeaderFoldsCase",
            model({"VOLUME", "ph", "Law_File"}),
            {statement_key_header(1, "VOLUME"), statement_key_header(2, "ph"), statement_key_header(3, "Law_File")}},
        // Labels are not keys: the first word of `input file` is no key of any kind.
        ResolveCase{"LabelWordIsNoKey", model({"input"}), {{"OV003", 1, "input", "unknown block", every_keyword}}},
        ResolveCase{"UnknownHeaderListsKeywords",
                    model({"Volcano"}),
                    {{"OV003", 1, "Volcano", "unknown block", every_keyword}}},
        ResolveCase{"UnknownHeaderNearAKeyword",
                    model({"RESEVOIR Ocean", "  volume 1 L"}),
                    {{"OV003", 1, "RESEVOIR", "unknown block", "did you mean `RESERVOIR`?"}}},
        ResolveCase{"NearKeywordInAnotherCase",
                    model({"paramters"}),
                    {{"OV003", 1, "paramters", "unknown block", "did you mean `PARAMETERS`?"}}},
        ResolveCase{"IdentificationKindUnderCore",
                    model({"SAMPLE S1"}),
                    {{"OV005", 1, "SAMPLE", "`SAMPLE` belongs to the Identification profile"}}},
        ResolveCase{
            "IdentificationKindUnderItsProfile", model({"SAMPLE S1", "IDENTIFY Id"}), {}, Profile::Identification},
        ResolveCase{"IdentificationKindUnderExtended",
                    model({"identify Id"}),
                    {{"OV005", 1, "identify", "`IDENTIFY` belongs to the Identification profile"}},
                    Profile::Extended},
        ResolveCase{"ExtendedKindUnderIdentification",
                    model({"PHREEQC Geo"}),
                    {{"OV005", 1, "PHREEQC", "`PHREEQC` belongs to the Extended profile"}},
                    Profile::Identification},
        ResolveCase{"ExtendedKindsUnderExtended",
                    model({"PHREEQC Geo", "LAW Rule", "FIT", "CONDITIONS"}),
                    {},
                    Profile::Extended},
        ResolveCase{"UniqueKindRepeated",
                    model({"MODEL Main", "META", "model Second", "MODEL Third"}),
                    {{"OV105", 3, "model", "`MODEL` may appear only once"},
                     {"OV105", 4, "MODEL", "`MODEL` may appear only once"}}},
        // Every duplicate stays resolved, so its name is declared and may clash in turn.
        ResolveCase{"DuplicatesAreStillDeclared",
                    model({"MODEL Main", "MODEL Main", "MODEL Other", "PROCESS Other"}),
                    {{"OV105", 2, "MODEL", "`MODEL` may appear only once"},
                     {"OV105", 3, "MODEL", "`MODEL` may appear only once"},
                     {"OV102", 2, "Main", "`Main` is already declared", std::nullopt, 1, "Main"},
                     {"OV102", 4, "Other", "`Other` is already declared", std::nullopt, 3, "Other"}}},
        ResolveCase{"RepeatableKindRepeated", model({"RESERVOIR A", "RESERVOIR B", "EXPORT", "EXPORT"}), {}},
        ResolveCase{"MissingIdentifier",
                    model({"RESERVOIR", "  volume 1 L", "MODEL"}),
                    {{"OV009", 1, "RESERVOIR", "`RESERVOIR` needs a name on its header line"},
                     {"OV009", 3, "MODEL", "`MODEL` needs a name on its header line"}}},
        ResolveCase{"IdentifierWhereNoneBelongs",
                    model({"UNITS Mine", "CONDITIONS Here"}),
                    {{"OV001", 1, "Mine", "`UNITS` takes no identifier"},
                     {"OV001", 2, "Here", "`CONDITIONS` takes no identifier"}}},
        // Only a lower-case ASCII letter draws the warning; the name is used all the same.
        ResolveCase{"IdentifierCapitalisation",
                    model({"RESERVOIR ocean", "RESERVOIR _deep", "RESERVOIR Zed", "RESERVOIR Cr(VI)"}),
                    {{"OV010", 1, "ocean", "entity names are capitalised, keywords are not"}}},
        ResolveCase{"LowerCaseIdentifierWhereNoneBelongs",
                    model({"META info"}),
                    {{"OV001", 1, "info", "`META` takes no identifier"}}},
        // One block may draw several header findings, in the order of the steps.
        ResolveCase{"StepsInOrder",
                    model({"SAMPLE s1", "SAMPLE"}),
                    {{"OV005", 1, "SAMPLE", "`SAMPLE` belongs to the Identification profile"},
                     {"OV010", 1, "s1", "entity names are capitalised, keywords are not"},
                     {"OV005", 2, "SAMPLE", "`SAMPLE` belongs to the Identification profile"},
                     {"OV009", 2, "SAMPLE", "`SAMPLE` needs a name on its header line"}}},
        ResolveCase{"UniqueAndMisnamed",
                    model({"OUTPUT", "OUTPUT Extra"}),
                    {{"OV105", 2, "OUTPUT", "`OUTPUT` may appear only once"},
                     {"OV001", 2, "Extra", "`OUTPUT` takes no identifier"}}}),
    testing::case_name);

TEST(HeaderPassTest, BlockResolutionsFollowTheBlocks) {
  std::string text = model({"Volcano Fuji", "RESERVOIR Ocean", "UNITS Mine", "MODEL", "model Main"});
  // Each entry reads its name from its block of the tree.
  syntax::ParseOutput tree = testing::parse_model(text);
  Resolution resolution = resolve_model(tree, Profile::Core);
  ASSERT_EQ(resolution.blocks.size(), 5u);

  EXPECT_EQ(resolution.blocks[0].spec, nullptr);
  EXPECT_EQ(resolution.blocks[0].name(tree.blocks[0]), std::nullopt);  // no kind, so no name either

  EXPECT_EQ(resolution.blocks[1].spec, find_block_spec("RESERVOIR"));
  EXPECT_EQ(resolution.blocks[1].name(tree.blocks[1]), "Ocean");

  EXPECT_EQ(resolution.blocks[2].spec, find_block_spec("UNITS"));
  EXPECT_EQ(resolution.blocks[2].name(tree.blocks[2]), "Mine");  // kept although the kind takes none

  EXPECT_EQ(resolution.blocks[3].spec, find_block_spec("MODEL"));
  EXPECT_EQ(resolution.blocks[3].name(tree.blocks[3]), std::nullopt);

  EXPECT_EQ(resolution.blocks[4].spec, find_block_spec("MODEL"));  // a duplicate stays resolved
  EXPECT_EQ(resolution.blocks[4].name(tree.blocks[4]), "Main");
}

TEST(HeaderPassTest, BlocksOutsideTheProfileAreStillDeclared) {
  std::string text = model({"SAMPLE S1", "RESERVOIR ocean"});
  Resolution resolution = resolve_model(testing::parse_model(text), Profile::Core);
  const Symbol* sample = lookup_global(resolution.symbols, "S1");
  ASSERT_NE(sample, nullptr);
  EXPECT_TRUE(is_entity_of(*sample, "Sample"));
  ASSERT_NE(lookup_global(resolution.symbols, "ocean"), nullptr);
}

TEST(HeaderPassTest, AnUnknownHeaderGetsNoFurtherChecks) {
  // Its statements would give OV107 and OV101 in any known block.
  std::string text = model({"Volcano", "  x = nowhere", "  from Nowhere", "PARAMETERS", "  y = 1"});
  EXPECT_EQ(resolve_findings(text), (std::vector<Finding>{{"OV003", 1, "Volcano", "unknown block", every_keyword}}));
}

TEST(HeaderPassTest, NonAsciiFirstLetterDrawsNoWarning) {
  // The lexer admits no such identifier yet; the check must not depend on that.
  std::string text = model({"RESERVOIR XXtang", "RESERVOIR xxtang"});
  syntax::ParseOutput tree = testing::parse_model(text);
  // The names are slices of the text: they are rewritten in place, at the same length.
  text.replace(text.find("XXtang"), 6, "\xC3\xA9tang");
  text.replace(text.find("xxtang"), 6, "\xC3\x89tang");
  ASSERT_EQ(tree.blocks[0].name()->text, "\xC3\xA9tang");
  Resolution resolution = resolve_model(tree, Profile::Core);
  EXPECT_TRUE(resolution.diagnostics.empty());
  EXPECT_NE(lookup_global(resolution.symbols, "\xC3\xA9tang"), nullptr);
}

TEST(HeaderPassTest, EmptyModel) {
  Resolution resolution = resolve_model(testing::parse_model(""), Profile::Core);
  EXPECT_TRUE(resolution.blocks.empty());
  EXPECT_TRUE(resolution.diagnostics.empty());
  EXPECT_TRUE(resolution.symbols.globals.in_order().empty());
}

}  // namespace
}  // namespace ovm::sema
