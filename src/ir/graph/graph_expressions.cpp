#include "ir/graph/graph_expressions.hpp"

#include <utility>

namespace ovm::ir {
namespace {

// Moves the node's operands onto `pending` and leaves the node a leaf, so that no destructor
// ever reaches more than one level down.
void detach_operands(Expr::Kind& node, std::vector<Expr>& pending) {
  if (auto* unary = std::get_if<Expr::Unary>(&node)) {
    if (unary->operand) pending.push_back(std::move(*unary->operand));
    unary->operand.reset();
  } else if (auto* binary = std::get_if<Expr::Binary>(&node)) {
    if (binary->lhs) pending.push_back(std::move(*binary->lhs));
    if (binary->rhs) pending.push_back(std::move(*binary->rhs));
    binary->lhs.reset();
    binary->rhs.reset();
  } else if (auto* call = std::get_if<Expr::Call>(&node)) {
    for (Expr& arg : call->args) pending.push_back(std::move(arg));
    call->args.clear();
  }
}

// The node with fresh, empty operands of the same shape; copy_tree fills them in.
Expr::Kind copy_shape(const Expr::Kind& node) {
  if (const auto* unary = std::get_if<Expr::Unary>(&node)) {
    return Expr::Unary{unary->op, unary->operand ? std::make_unique<Expr>() : nullptr};
  }
  if (const auto* binary = std::get_if<Expr::Binary>(&node)) {
    return Expr::Binary{binary->op, binary->lhs ? std::make_unique<Expr>() : nullptr,
                        binary->rhs ? std::make_unique<Expr>() : nullptr};
  }
  if (const auto* call = std::get_if<Expr::Call>(&node)) {
    return Expr::Call{call->function, std::vector<Expr>(call->args.size())};
  }
  if (const auto* constant = std::get_if<Expr::Constant>(&node)) return *constant;
  if (const auto* parameter = std::get_if<Expr::Parameter>(&node)) return *parameter;
  if (std::holds_alternative<Expr::Temperature>(node)) return Expr::Temperature{};
  return Expr::Time{};
}

using CopyStep = std::pair<const Expr*, Expr*>;

// Pairs each operand of `from` with the empty operand copy_shape gave `to`.
void pair_operands(const Expr& from, Expr& to, std::vector<CopyStep>& pending) {
  if (const auto* unary = std::get_if<Expr::Unary>(&from.kind)) {
    auto& target = std::get<Expr::Unary>(to.kind);
    if (unary->operand) pending.emplace_back(unary->operand.get(), target.operand.get());
  } else if (const auto* binary = std::get_if<Expr::Binary>(&from.kind)) {
    auto& target = std::get<Expr::Binary>(to.kind);
    if (binary->lhs) pending.emplace_back(binary->lhs.get(), target.lhs.get());
    if (binary->rhs) pending.emplace_back(binary->rhs.get(), target.rhs.get());
  } else if (const auto* call = std::get_if<Expr::Call>(&from.kind)) {
    auto& target = std::get<Expr::Call>(to.kind);
    for (std::size_t i = 0; i < call->args.size(); ++i) pending.emplace_back(&call->args[i], &target.args[i]);
  }
}

using CompareStep = std::pair<const Expr*, const Expr*>;

bool same_child(const std::unique_ptr<Expr>& a, const std::unique_ptr<Expr>& b, std::vector<CompareStep>& pending) {
  if (!a || !b) return !a && !b;
  pending.emplace_back(a.get(), b.get());
  return true;
}

// Compares the two nodes without their operands and queues the operand pairs.
bool same_node(const Expr& a, const Expr& b, std::vector<CompareStep>& pending) {
  if (a.kind.index() != b.kind.index()) return false;
  if (const auto* constant = std::get_if<Expr::Constant>(&a.kind)) {
    return constant->value == std::get<Expr::Constant>(b.kind).value;
  }
  if (const auto* parameter = std::get_if<Expr::Parameter>(&a.kind)) {
    return parameter->id == std::get<Expr::Parameter>(b.kind).id;
  }
  if (const auto* unary = std::get_if<Expr::Unary>(&a.kind)) {
    const auto& other = std::get<Expr::Unary>(b.kind);
    return unary->op == other.op && same_child(unary->operand, other.operand, pending);
  }
  if (const auto* binary = std::get_if<Expr::Binary>(&a.kind)) {
    const auto& other = std::get<Expr::Binary>(b.kind);
    return binary->op == other.op && same_child(binary->lhs, other.lhs, pending) &&
           same_child(binary->rhs, other.rhs, pending);
  }
  if (const auto* call = std::get_if<Expr::Call>(&a.kind)) {
    const auto& other = std::get<Expr::Call>(b.kind);
    if (call->function != other.function || call->args.size() != other.args.size()) return false;
    for (std::size_t i = 0; i < call->args.size(); ++i) pending.emplace_back(&call->args[i], &other.args[i]);
    return true;
  }
  return true;  // Temperature and Time carry nothing
}

}  // namespace

Expr::Expr() : kind(Constant{}) {}

Expr::Expr(const Expr& other) : kind(copy_shape(other.kind)) {
  std::vector<CopyStep> pending;
  pair_operands(other, *this, pending);
  while (!pending.empty()) {
    auto [from, to] = pending.back();
    pending.pop_back();
    to->kind = copy_shape(from->kind);
    pair_operands(*from, *to, pending);
  }
}

// Out of line, where the compiler does not guess at which alternative a moved node holds.
Expr::Expr(Expr&& other) noexcept = default;

Expr& Expr::operator=(const Expr& other) {
  Expr copy(other);
  kind.swap(copy.kind);
  return *this;
}

// Through a temporary, so that assigning one of its own operands to a node works: the operand
// is moved out before the node's old content is destroyed.
Expr& Expr::operator=(Expr&& other) noexcept {
  Expr taken(std::move(other));
  kind.swap(taken.kind);
  return *this;
}

Expr::~Expr() {
  std::vector<Expr> pending;
  detach_operands(kind, pending);
  while (!pending.empty()) {
    Expr node = std::move(pending.back());
    pending.pop_back();
    detach_operands(node.kind, pending);
  }
}

bool operator==(const Expr& a, const Expr& b) {
  std::vector<CompareStep> pending{{&a, &b}};
  while (!pending.empty()) {
    auto [left, right] = pending.back();
    pending.pop_back();
    if (!same_node(*left, *right, pending)) return false;
  }
  return true;
}

Expr constant_expr(double value) { return Expr(Expr::Constant{value}); }

Expr parameter_expr(ParameterId id) { return Expr(Expr::Parameter{id}); }

Expr unary_expr(UnaryOp op, Expr operand) { return Expr(Expr::Unary{op, std::make_unique<Expr>(std::move(operand))}); }

Expr binary_expr(BinaryOp op, Expr lhs, Expr rhs) {
  return Expr(Expr::Binary{op, std::make_unique<Expr>(std::move(lhs)), std::make_unique<Expr>(std::move(rhs))});
}

Expr call_expr(Function function, std::vector<Expr> args) { return Expr(Expr::Call{function, std::move(args)}); }

}  // namespace ovm::ir
