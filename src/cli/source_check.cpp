#include "cli/source_check.hpp"

#include "ir/reserved_blocks.hpp"
#include "sema/analysis.hpp"

namespace ovm::cli {

diagnostics::Diagnostics file_diagnostics(const syntax::ParseOutput& tree, sema::Profile profile,
                                          bool with_reserved_notes) {
  diagnostics::Diagnostics list = tree.diagnostics;
  if (!diagnostics::has_errors(list)) {
    sema::Analysis analysis = sema::analyze(tree, profile);
    diagnostics::append_diagnostics(list, std::move(analysis.diagnostics));
    if (with_reserved_notes) diagnostics::append_diagnostics(list, ir::reserved_block_notes(tree.blocks, profile));
  }
  return diagnostics::sort_and_dedup(std::move(list));
}

}  // namespace ovm::cli
