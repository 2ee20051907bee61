#include "validation_support.hpp"

#include "sema/analysis.hpp"
#include "sema/resolution.hpp"
#include "syntax/parser.hpp"

namespace ovm::sema::testing {
namespace {

// Where the expected text stands in the model; a text the model lacks fails the test.
std::uint32_t offset_of(std::string_view model, const Expected& expected) {
  std::size_t at = model.find(expected.at);
  for (int i = 0; i < expected.occurrence && at != std::string_view::npos; ++i) at = model.find(expected.at, at + 1);
  EXPECT_NE(at, std::string_view::npos) << "the model holds no occurrence " << expected.occurrence << " of \""
                                         << expected.at << "\"";
  return at == std::string_view::npos ? 0 : static_cast<std::uint32_t>(at);
}

}  // namespace

void PrintTo(const Found& found, std::ostream* os) {
  *os << found.code << " [" << found.start << ", " << found.end << ") \"" << found.label << "\"";
  if (found.help) *os << " help \"" << *found.help << "\"";
}

diagnostics::Diagnostics validation_of(std::string_view model, Profile profile) {
  syntax::ParseOutput tree = syntax::parse_source(model, 0);
  for (const diagnostics::Diagnostic& d : tree.diagnostics) {
    ADD_FAILURE() << "the model does not parse: " << d.code.as_str() << " " << d.label.value_or("");
  }
  Resolution resolution = resolve_model(tree, profile);
  return validate_model(tree, resolution);
}

void expect_validation(std::string_view model, const std::vector<Expected>& expected, Profile profile) {
  diagnostics::Diagnostics diagnostics = validation_of(model, profile);
  std::vector<Found> found;
  std::vector<Found> wanted;
  for (std::size_t i = 0; i < diagnostics.size(); ++i) {
    const diagnostics::Diagnostic& d = diagnostics[i];
    bool compare_help = i < expected.size() && expected[i].help.has_value();
    found.push_back(Found{std::string(d.code.as_str()), d.label.value_or(""), d.span.start, d.span.end,
                          compare_help ? d.help : std::nullopt});
  }
  for (const Expected& e : expected) {
    std::uint32_t start = offset_of(model, e);
    wanted.push_back(Found{e.code, e.label, start, start + static_cast<std::uint32_t>(e.at.size()), e.help});
  }
  EXPECT_EQ(found, wanted) << "model:\n" << model;
}

std::string case_name(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

TEST_P(ValidationCaseTest, ReportsExactly) { expect_validation(GetParam().model, GetParam().expected); }

}  // namespace ovm::sema::testing
