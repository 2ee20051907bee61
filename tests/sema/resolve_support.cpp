#include "resolve_support.hpp"

#include <gtest/gtest.h>

#include "diagnostics/span.hpp"
#include "syntax/parser.hpp"

namespace ovm::sema::testing {

std::ostream& operator<<(std::ostream& out, const Finding& finding) {
  out << finding.code << " line " << finding.line << " at '" << finding.at << "' label '" << finding.label << "'";
  if (finding.help) out << " help '" << *finding.help << "'";
  if (finding.note_at) out << " note at line " << finding.note_line.value_or(0) << " '" << *finding.note_at << "'";
  return out;
}

syntax::ParseOutput parse_model(std::string_view text) {
  syntax::ParseOutput tree = syntax::parse_source(text, 0);
  EXPECT_TRUE(tree.diagnostics.empty()) << "the model does not parse cleanly:\n" << text;
  return tree;
}

std::vector<Finding> findings(std::string_view text, const diagnostics::Diagnostics& diagnostics) {
  diagnostics::SourceFile file("model.ovm", 0, std::string(text));
  auto slice = [&](diagnostics::Span span) { return std::string(text.substr(span.start, span.end - span.start)); };
  std::vector<Finding> out;
  for (const diagnostics::Diagnostic& d : diagnostics) {
    Finding finding{std::string(d.code.as_str()), file.line_column(d.span.start).line, slice(d.span),
                    d.label.value_or("")};
    finding.help = d.help;
    if (!d.notes.empty()) {
      EXPECT_EQ(d.notes.size(), 1u);
      EXPECT_EQ(d.notes.front().message, "first declared here");
      finding.note_line = file.line_column(d.notes.front().span.start).line;
      finding.note_at = slice(d.notes.front().span);
    }
    out.push_back(std::move(finding));
  }
  return out;
}

std::vector<Finding> resolve_findings(std::string_view text, Profile profile) {
  return findings(text, resolve_model(parse_model(text), profile).diagnostics);
}

std::string model(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

std::string case_name(const ::testing::TestParamInfo<ResolveCase>& info) { return info.param.name; }

TEST_P(ResolveFindingsTest, ReportsExactly) {
  const ResolveCase& c = GetParam();
  EXPECT_EQ(resolve_findings(c.text, c.profile), c.expected);
}

}  // namespace ovm::sema::testing
