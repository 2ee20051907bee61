#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ir/graph/graph_expressions.hpp"
#include "ir/lower/lower_context.hpp"
#include "syntax/expr.hpp"
#include "syntax/tree.hpp"

namespace ovm::ir {

// One syntax expression as a graph expression. Names resolve to T, time, the named constants,
// then the owner's parameters and the model-wide ones lowered so far; what resolves to nothing
// becomes the constant NaN, which shows only when the engine evaluates it.
Expr lower_expr(const LoweringContext& context, const syntax::SyntaxExpr& expr, const std::optional<std::string>& owner);

// The alpha of an inline law: its first statement's assignment as alpha itself, as an epsilon
// in permil, or as 1000 ln alpha. Nothing when the law holds no assignment first.
std::optional<Expr> lower_law(const LoweringContext& context, std::span<const syntax::Statement> statements,
                              const std::optional<std::string>& owner);

}  // namespace ovm::ir
