#include "diagnostics/internal_error.hpp"
#include "sema/analysis.hpp"
#include "sema/validate_block.hpp"
#include "sema/validate_facts.hpp"
#include "sema/validate_operands.hpp"
#include "sema/validate_parameter_cycles.hpp"
#include "sema/validate_references.hpp"

namespace ovm::sema {

diagnostics::Diagnostics validate_model(const syntax::ParseOutput& tree, const Resolution& resolution) {
  if (resolution.blocks.size() != tree.blocks.size()) {
    diagnostics::internal_error("the resolution does not hold one entry per block of the tree");
  }
  // Every fact first, so that a block sees declarations written after it.
  ValidationContext context = gather_model_facts(tree, resolution);
  for (std::size_t i = 0; i < tree.blocks.size(); ++i) {
    if (const BlockSpec* kind = resolution.blocks[i].spec) validate_block(context, tree.blocks[i], *kind);
  }
  // What lowering reads by name across blocks: each must have something to read.
  check_references(context, tree, resolution);
  check_operands(context, tree, resolution);
  check_parameter_cycles(context, tree, resolution);
  return std::move(context.diagnostics);
}

}  // namespace ovm::sema
