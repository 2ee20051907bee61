#include "ir/lower/lower_expr.hpp"

#include <limits>
#include <variant>

#include "ir/graph/lower_words.hpp"
#include "ir/lower/lower_values.hpp"
#include "sema/builtins.hpp"
#include "sema/functions.hpp"

namespace ovm::ir {

namespace {

Expr not_a_number() { return constant_expr(std::numeric_limits<double>::quiet_NaN()); }

Expr lower_name(const LoweringContext& context, std::string_view name, const std::optional<std::string>& owner) {
  // Built-in names come first, so no parameter can shadow them.
  if (name == "T") return Expr(Expr::Temperature{});
  if (name == "time") return Expr(Expr::Time{});
  if (const sema::NamedConstant* constant = sema::find_named_constant(name)) return constant_expr(constant->value);
  if (std::optional<ParameterId> id = lookup_parameter(context, name, owner)) return parameter_expr(*id);
  return not_a_number();
}

BinaryOp binary_op(syntax::SyntaxBinaryOp op) {
  switch (op) {
    case syntax::SyntaxBinaryOp::Plus: return BinaryOp::Add;
    case syntax::SyntaxBinaryOp::Minus: return BinaryOp::Subtract;
    case syntax::SyntaxBinaryOp::Times: return BinaryOp::Multiply;
    case syntax::SyntaxBinaryOp::Divide: return BinaryOp::Divide;
    case syntax::SyntaxBinaryOp::Power: return BinaryOp::Power;
  }
  return BinaryOp::Add;
}

}  // namespace

// Recursive: the parser bounds every tree's height at 256.
Expr lower_expr(const LoweringContext& context, const syntax::SyntaxExpr& expr, const std::optional<std::string>& owner) {
  using Node = syntax::SyntaxExpr;
  const Node::Kind kind = expr.kind();
  if (const auto* number = std::get_if<Node::Number>(&kind)) return constant_expr(number->value);
  if (const auto* ident = std::get_if<Node::Ident>(&kind)) return lower_name(context, ident->name, owner);
  if (const auto* call = std::get_if<Node::Call>(&kind)) {
    std::optional<Function> function = enum_of_word<Function>(call->name, sema::function_names);
    if (!function) return not_a_number();
    std::vector<Expr> args;
    args.reserve(call->args.size());
    for (const Node& arg : call->args) args.push_back(lower_expr(context, arg, owner));
    return call_expr(*function, std::move(args));
  }
  if (const auto* unary = std::get_if<Node::Unary>(&kind)) {
    return unary_expr(UnaryOp::Negate, lower_expr(context, *unary->operand, owner));
  }
  if (const auto* binary = std::get_if<Node::Binary>(&kind)) {
    return binary_expr(binary_op(binary->op), lower_expr(context, *binary->lhs, owner),
                       lower_expr(context, *binary->rhs, owner));
  }
  return not_a_number();  // literals, qualified names and error nodes
}

std::optional<Expr> lower_law(const LoweringContext& context, std::span<const syntax::Statement> statements,
                              const std::optional<std::string>& owner) {
  if (statements.empty()) return std::nullopt;
  const syntax::Statement& first = statements.front();
  const syntax::AssignmentBody* assignment = first.assignment();
  if (assignment == nullptr) return std::nullopt;
  Expr x = lower_expr(context, *assignment->expr, owner);
  if (key_is(first, "alpha")) return x;
  Expr per_mil = binary_expr(BinaryOp::Divide, std::move(x), constant_expr(1000.0));
  if (key_is(first, "epsilon")) return binary_expr(BinaryOp::Add, constant_expr(1.0), std::move(per_mil));
  std::vector<Expr> args;
  args.push_back(std::move(per_mil));
  return call_expr(Function::Exp, std::move(args));
}

}  // namespace ovm::ir
