#include "sema/analysis.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resolve_support.hpp"
#include "sema/block_table.hpp"

namespace ovm::sema {
namespace {

using testing::Finding;
using testing::findings;
using testing::model;

TEST(AnalyzeTest, StartsWithTheResolutionAndItsFindings) {
  std::string text = model({"Volcano", "RESERVOIR ocean", "PARAMETERS", "  a = missing", "SAMPLE S1"});
  syntax::ParseOutput tree = testing::parse_model(text);
  Analysis analysis = analyze(tree, Profile::Core);

  Resolution resolution = resolve_model(tree, Profile::Core);
  std::vector<Finding> resolved = findings(text, resolution.diagnostics);
  ASSERT_EQ(resolved.size(), 4u);
  // Validation's findings follow resolution's, in the order each part found them.
  std::vector<Finding> validated = findings(text, validate_model(tree, resolution));
  ASSERT_FALSE(validated.empty());  // the SAMPLE lacks its required properties
  std::vector<Finding> expected = resolved;
  expected.insert(expected.end(), validated.begin(), validated.end());
  EXPECT_EQ(findings(text, analysis.diagnostics), expected);
  EXPECT_EQ(findings(text, analysis.resolution.diagnostics), resolved);

  ASSERT_EQ(analysis.resolution.blocks.size(), 4u);
  EXPECT_EQ(analysis.resolution.blocks[0].spec, nullptr);
  EXPECT_EQ(analysis.resolution.blocks[1].spec, find_block_spec("RESERVOIR"));
  EXPECT_EQ(analysis.resolution.blocks[3].spec, find_block_spec("SAMPLE"));
  EXPECT_NE(lookup_global(analysis.resolution.symbols, "a"), nullptr);
}

TEST(AnalyzeTest, PassesTheProfileOn) {
  std::string text = model({"SAMPLE S1"});
  syntax::ParseOutput tree = testing::parse_model(text);
  auto profile_findings = [&](Profile profile) {
    std::vector<std::string> codes;
    for (const Finding& finding : findings(text, analyze(tree, profile).diagnostics)) codes.push_back(finding.code);
    return codes;
  };
  std::vector<std::string> core = profile_findings(Profile::Core);
  ASSERT_FALSE(core.empty());
  EXPECT_EQ(core.front(), "OV005");
  for (const std::string& code : profile_findings(Profile::Identification)) EXPECT_NE(code, "OV005");
}

}  // namespace
}  // namespace ovm::sema
