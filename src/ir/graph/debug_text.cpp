#include "ir/graph/debug_text.hpp"

#include <array>
#include <variant>
#include <vector>

#include "ir/graph/debug_number.hpp"

namespace ovm::ir {
namespace {

constexpr std::array<std::string_view, 1> unary_op_names = {"Negate"};
constexpr std::array<std::string_view, 5> binary_op_names = {"Add", "Subtract", "Multiply", "Divide", "Power"};
constexpr std::array<std::string_view, 8> function_names = {"Exp", "Ln", "Log10", "Sqrt", "Abs", "Pow", "Min", "Max"};

// What is still to be printed, last first: fixed text, or a node to be expanded in its place.
using Piece = std::variant<std::string_view, const Expr*>;

void push_child(const std::unique_ptr<Expr>& child, std::vector<Piece>& pending) {
  if (child) pending.emplace_back(child.get());
}

// Prints a leaf at once; pushes the pieces of an inner node in reverse, so they pop in order.
void expand(const Expr& expr, std::string& out, std::vector<Piece>& pending) {
  if (const auto* constant = std::get_if<Expr::Constant>(&expr.kind)) {
    out += "Constant(" + debug_number_text(constant->value) + ")";
  } else if (const auto* parameter = std::get_if<Expr::Parameter>(&expr.kind)) {
    out += "Parameter(" + debug_text(parameter->id) + ")";
  } else if (std::holds_alternative<Expr::Temperature>(expr.kind)) {
    out += "Temperature";
  } else if (std::holds_alternative<Expr::Time>(expr.kind)) {
    out += "Time";
  } else if (const auto* unary = std::get_if<Expr::Unary>(&expr.kind)) {
    out += "Unary { op: ";
    out += debug_text(unary->op);
    out += ", operand: ";
    pending.emplace_back(std::string_view(" }"));
    push_child(unary->operand, pending);
  } else if (const auto* binary = std::get_if<Expr::Binary>(&expr.kind)) {
    out += "Binary { op: ";
    out += debug_text(binary->op);
    out += ", lhs: ";
    pending.emplace_back(std::string_view(" }"));
    push_child(binary->rhs, pending);
    pending.emplace_back(std::string_view(", rhs: "));
    push_child(binary->lhs, pending);
  } else if (const auto* call = std::get_if<Expr::Call>(&expr.kind)) {
    out += "Call { function: ";
    out += debug_text(call->function);
    out += ", args: [";
    pending.emplace_back(std::string_view("] }"));
    for (std::size_t i = call->args.size(); i-- > 0;) {
      pending.emplace_back(&call->args[i]);
      if (i > 0) pending.emplace_back(std::string_view(", "));
    }
  }
}

void append_expr(const Expr& expr, std::string& out) {
  std::vector<Piece> pending{&expr};
  while (!pending.empty()) {
    Piece piece = pending.back();
    pending.pop_back();
    if (const auto* text = std::get_if<std::string_view>(&piece)) {
      out += *text;
    } else {
      expand(*std::get<const Expr*>(piece), out, pending);
    }
  }
}

// "Name { constant: ... }", with the half saturation after the constant for a Monod law.
std::string law_text(std::string_view name, const Expr& constant, const Expr* half_saturation) {
  std::string out(name);
  out += " { constant: ";
  append_expr(constant, out);
  if (half_saturation != nullptr) {
    out += ", half_saturation: ";
    append_expr(*half_saturation, out);
  }
  out += " }";
  return out;
}

}  // namespace

std::string_view debug_text(UnaryOp op) { return unary_op_names[static_cast<std::size_t>(op)]; }

std::string_view debug_text(BinaryOp op) { return binary_op_names[static_cast<std::size_t>(op)]; }

std::string_view debug_text(Function function) { return function_names[static_cast<std::size_t>(function)]; }

std::string debug_text(ParameterId id) { return "ParameterId(" + std::to_string(id.index) + ")"; }

std::string debug_text(const Expr& expr) {
  std::string out;
  append_expr(expr, out);
  return out;
}

std::string debug_text(const RateLaw& law) {
  if (const auto* zero = std::get_if<RateLaw::ZeroOrder>(&law.kind))
    return law_text("ZeroOrder", zero->constant, nullptr);
  if (const auto* first = std::get_if<RateLaw::FirstOrder>(&law.kind)) {
    return law_text("FirstOrder", first->constant, nullptr);
  }
  if (const auto* second = std::get_if<RateLaw::SecondOrder>(&law.kind)) {
    return law_text("SecondOrder", second->constant, nullptr);
  }
  const auto& monod = std::get<RateLaw::Monod>(law.kind);
  return law_text("Monod", monod.constant, &monod.half_saturation);
}

}  // namespace ovm::ir
