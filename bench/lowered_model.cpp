#include "lowered_model.hpp"

#include <cstdio>
#include <cstdlib>

#include "diagnostics/diagnostic.hpp"
#include "ir/lower/lower_model.hpp"
#include "sema/analysis.hpp"
#include "syntax/parser.hpp"

namespace ovm::bench {

ir::ModelGraph lowered_model(std::string_view text) {
  syntax::ParseOutput tree = syntax::parse_source(text, 0);
  sema::Analysis analysis = sema::analyze(tree, sema::Profile::Core);
  if (!tree.diagnostics.empty() || !analysis.diagnostics.empty()) {
    std::fprintf(stderr, "the generated model does not check clean\n");
    std::exit(1);
  }
  return ir::lower_model(tree.blocks, text, analysis, ir::Provenance{});
}

}  // namespace ovm::bench
