#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ir/lower/lower_context.hpp"
#include "sema/block_schema.hpp"
#include "syntax/tree.hpp"

namespace ovm::ir {

// Parameters are declared before any of their values is lowered, so that an expression may
// name a parameter written further down: the model-wide ones of every PARAMETERS block before
// the first such block is lowered, a block's own at the start of that block. Each is appended
// without value, in statement order, so the ids are those of lowering one statement at a time.
void declare_model_parameters(LoweringContext& context, const std::vector<syntax::Block>& blocks,
                              std::span<const sema::BlockSpec* const> kinds);
void declare_local_parameters(LoweringContext& context, const syntax::Block& block, const std::string& owner);

// Lowers the values of a PARAMETERS block's assignments. A block `declare_model_parameters`
// declared holds them in statement order from its first id, with no lookup per statement.
void define_model_parameters(LoweringContext& context, const syntax::Block& block);

// The assignment of a `parameter k = expression [unit]` statement that names its target, or null.
const syntax::AssignmentBody* local_assignment(const syntax::Statement& statement);

// Lowers the value of the parameter the statement declares, converted with its written unit,
// and returns its id. A statement that was not declared beforehand is declared now.
ParameterId define_parameter(LoweringContext& context, const syntax::Statement& statement,
                             const syntax::AssignmentBody& assignment, std::optional<std::string> owner,
                             std::string name);

}  // namespace ovm::ir
