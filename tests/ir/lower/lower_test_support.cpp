#include "lower_test_support.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>

#include "diagnostics/text_file.hpp"

#include "ir/lower/lower_model.hpp"
#include "sema/analysis.hpp"
#include "syntax/parser.hpp"

namespace ovm::ir::testing {

namespace {

ModelGraph lower(std::string_view text, sema::Profile profile, bool must_check) {
  std::string source(text);
  syntax::ParseOutput tree = syntax::parse_source(source, 0);
  sema::Analysis analysis = sema::analyze(tree, profile);
  if (must_check) {
    diagnostics::Diagnostics all = tree.diagnostics;
    all.insert(all.end(), analysis.diagnostics.begin(), analysis.diagnostics.end());
    for (const diagnostics::Diagnostic& d : all) {
      if (!d.code.is_error()) continue;
      ADD_FAILURE() << d.code.as_str() << " at " << d.span.start << ": " << d.label.value_or("") << "\nin:\n" << text;
    }
  }
  return lower_model(tree.blocks, source, analysis, Provenance{});
}

}  // namespace

ModelGraph lower_checked(std::string_view text, sema::Profile profile) { return lower(text, profile, true); }

ModelGraph lower_unchecked(std::string_view text, sema::Profile profile) { return lower(text, profile, false); }

ModelGraph lower_example(const char* file, sema::Profile profile) {
  std::filesystem::path folder = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().parent_path() / "examples";
  auto read = diagnostics::read_text_file((folder / file).string());
  if (!std::holds_alternative<std::string>(read)) {
    ADD_FAILURE() << "cannot read " << file;
    return {};
  }
  return lower_checked(std::get<std::string>(read), profile);
}

}  // namespace ovm::ir::testing
