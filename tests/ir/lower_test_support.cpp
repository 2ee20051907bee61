#include "lower_test_support.hpp"

#include <gtest/gtest.h>

#include <string>

#include "ir/lower_model.hpp"
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

}  // namespace ovm::ir::testing
