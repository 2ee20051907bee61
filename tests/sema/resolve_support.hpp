#pragma once

// Running model texts through the parser and name resolution, and reading findings back as
// the texts a user sees: code, line, the source under the carets, label, help and notes.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "sema/profile.hpp"
#include "sema/resolution.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema::testing {

// A finding as written down from the language's texts.
struct Finding {
  std::string code;
  std::uint32_t line = 0;  // 1-based line of the span's start
  std::string at;          // the source text the span covers
  std::string label;
  std::optional<std::string> help{};
  // The one note's line and source text; its message, "first declared here", is checked apart.
  std::optional<std::uint32_t> note_line{};
  std::optional<std::string> note_at{};

  friend bool operator==(const Finding&, const Finding&) = default;
};

std::ostream& operator<<(std::ostream& out, const Finding& finding);

// The text parsed; the test fails when the parse reports anything.
syntax::ParseOutput parse_model(std::string_view text);

// The findings of `diagnostics` in their order, read against `text`.
std::vector<Finding> findings(std::string_view text, const diagnostics::Diagnostics& diagnostics);

// Parsed and resolved under `profile`.
std::vector<Finding> resolve_findings(std::string_view text, Profile profile = Profile::Core);

// The lines of a model joined with line ends, so that models read as they are written.
std::string model(std::initializer_list<std::string_view> lines);

// A model and everything resolution must report on it, in order.
struct ResolveCase {
  std::string name;  // the test's name
  std::string text;
  std::vector<Finding> expected;
  Profile profile = Profile::Core;
};

// Instantiated by each test file with its own table of cases.
class ResolveFindingsTest : public ::testing::TestWithParam<ResolveCase> {};

std::string case_name(const ::testing::TestParamInfo<ResolveCase>& info);

}  // namespace ovm::sema::testing
