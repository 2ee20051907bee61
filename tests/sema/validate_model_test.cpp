// The validation driver: which blocks are checked, and how validation joins the analysis.
#include <gtest/gtest.h>

#include <algorithm>

#include "sema/analysis.hpp"
#include "sema/block_table.hpp"
#include "syntax/parser.hpp"
#include "validation_support.hpp"

namespace ovm::sema {
namespace {


syntax::ParseOutput parsed(std::string_view model) {
  syntax::ParseOutput tree = syntax::parse_source(model, 0);
  EXPECT_TRUE(tree.diagnostics.empty()) << model;
  return tree;
}

// A resolution that gives each block its header's kind, except the blocks listed as unknown.
Resolution resolution_without(const syntax::ParseOutput& tree, std::vector<std::size_t> unknown) {
  Resolution resolution;
  for (std::size_t i = 0; i < tree.blocks.size(); ++i) {
    bool skip = std::find(unknown.begin(), unknown.end(), i) != unknown.end();
    const BlockSpec* kind = skip ? nullptr : find_block_spec(tree.blocks[i].keyword());
    resolution.blocks.push_back(BlockResolution{kind});
  }
  return resolution;
}

TEST(ValidateModelTest, ABlockWithoutKindIsNeitherScannedNorChecked) {
  syntax::ParseOutput tree = parsed(
      "ISOTOPES\n    ratio 53Cr/52Cr standard NIST979\n    ratio 7Li/6Fe\n\n"
      "STANDARD\n    standard NIST979 0.11339 ratio 53Cr/52Cr\n\n"
      "RESERVOIR Ocean\n    delta53Cr 0.5\n");
  diagnostics::Diagnostics found = validate_model(tree, resolution_without(tree, {0}));
  // The ratio is not declared, and the bad ratio of the skipped block is not reported.
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].code, diagnostics::DiagnosticCode::OV101);
  EXPECT_EQ(found[0].label, "no ratio for 53Cr is declared");
}

TEST(ValidateModelTest, ReservedTitleAndLawBlocksArePassedOver) {
  testing::expect_validation(
      "TITLE\n    Chromium in the ocean\n\n"
      "LAW Arrhenius\n    alpha = 1.0 + 0.01 / T\n    beta 2\n\n"
      "SOLUTION Pore\n    volum 2\n\n"
      "PLOT\n    anything at all\n\n"
      "RESERVOIR Ocean\n    volum 2 L\n",
      {{"OV210", "`volum` is not a property of `RESERVOIR`", "volum", 1}});
}

TEST(ValidateModelTest, FindingsFollowTheBlocksInFileOrder) {
  testing::expect_validation(
      "RESERVOIR Ocean\n    volume 2\n\nMETA\n    author 5\n\nRESERVOIR Lake\n    mass -1 kg\n",
      {{"OV205", "several units measure volume, so one has to be written", "volume 2\n"},
       {"OV202", "expected text, found number", "5"},
       {"OV212", "`language` is recommended for reproducibility", "META"},
       {"OV201", "`mass` cannot be negative", "-1"}});
}

TEST(ValidateModelDeathTest, AResolutionOfAnotherTreeIsADefect) {
  syntax::ParseOutput tree = parsed("RESERVOIR Ocean\n    volume 2 L\n\nRESERVOIR Lake\n    volume 1 L\n");
  Resolution resolution = resolution_without(tree, {});
  resolution.blocks.pop_back();
  EXPECT_EXIT(validate_model(tree, resolution), ::testing::ExitedWithCode(3), "internal error");
}

TEST(AnalysisTest, ValidationFollowsResolution) {
  std::string model = "RESERVOIR Ocean\n    volume 2\n\nRESERVOIR Ocean\n    volume 1 L\n";
  Analysis analysis = analyze(parsed(model), Profile::Core);
  ASSERT_EQ(analysis.diagnostics.size(), 2u);
  // The duplicate name is found by resolution, the missing unit by validation.
  EXPECT_EQ(analysis.diagnostics[0].code, diagnostics::DiagnosticCode::OV102);
  EXPECT_EQ(analysis.diagnostics[0].span.start, model.rfind("Ocean"));
  EXPECT_EQ(analysis.diagnostics[1].code, diagnostics::DiagnosticCode::OV205);
  EXPECT_EQ(analysis.resolution.diagnostics.size(), 1u);
  EXPECT_EQ(analysis.resolution.blocks.size(), 2u);
}

}  // namespace
}  // namespace ovm::sema
