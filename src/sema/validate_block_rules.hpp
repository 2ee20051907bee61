#pragma once

#include "diagnostics/span.hpp"
#include "sema/block_schema.hpp"
#include "sema/validate_block_state.hpp"
#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// Where findings about a whole block point: its name, or its keyword when it has none.
diagnostics::Span anchor_span(const syntax::Block& block);

// The checks that need every statement of the block seen, in their order: required and
// recommended properties, the MODEL stop rule, then self transfer and mixing.
void check_block_rules(ValidationContext& context, const BlockState& state, const syntax::Block& block,
                       const BlockSpec& kind);

// Reports, at the product's value, a process that moves a substance onto itself.
void self_transfer_diagnostic(ValidationContext& context, diagnostics::Span span);

// The rules of a PROCESS with a known type: self transfer, and the sources of a mixing.
void check_process_rules(ValidationContext& context, const VariantSpec& variant, const syntax::Block& block);

}  // namespace ovm::sema
