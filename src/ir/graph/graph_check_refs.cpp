#include <cstdint>
#include <string>
#include <variant>

#include "diagnostics/message_text.hpp"
#include "ir/graph/graph_check.hpp"

namespace ovm::ir {
namespace {

void push_child(const std::unique_ptr<Expr>& child, std::vector<const Expr*>& pending) {
  if (child) pending.push_back(child.get());
}

void check_reservoir(std::string_view subject, const ModelGraph& graph, ReservoirId id,
                     std::vector<std::string>& messages) {
  if (id < graph.reservoirs.size()) return;
  messages.push_back(diagnostics::fill_message("{} names unknown reservoir {}", {subject, std::to_string(id)}));
}

void check_species(std::string_view subject, const ModelGraph& graph, SpeciesId id,
                   std::vector<std::string>& messages) {
  if (id < graph.species.size()) return;
  messages.push_back(diagnostics::fill_message("{} names unknown species {}", {subject, std::to_string(id)}));
}

void check_isotope(std::string_view subject, const ModelGraph& graph, IsotopeId id,
                   std::vector<std::string>& messages) {
  if (id < graph.isotopes.size()) return;
  messages.push_back(diagnostics::fill_message("{} names unknown isotope {}", {subject, std::to_string(id)}));
}

}  // namespace

std::vector<std::string> check_expr_refs(std::string_view subject, const ModelGraph& graph, const Expr& expr) {
  std::vector<std::string> messages;
  std::vector<const Expr*> pending{&expr};
  while (!pending.empty()) {
    const Expr& node = *pending.back();
    pending.pop_back();
    if (const auto* parameter = std::get_if<Expr::Parameter>(&node.kind)) {
      std::uint32_t index = parameter->id.index;
      if (index >= graph.parameters.size()) {
        messages.push_back(diagnostics::fill_message("{} reads unknown parameter {}", {subject, std::to_string(index)}));
      }
    } else if (const auto* unary = std::get_if<Expr::Unary>(&node.kind)) {
      push_child(unary->operand, pending);
    } else if (const auto* binary = std::get_if<Expr::Binary>(&node.kind)) {
      push_child(binary->rhs, pending);  // popped after the whole left side
      push_child(binary->lhs, pending);
    } else if (const auto* call = std::get_if<Expr::Call>(&node.kind)) {
      for (auto arg = call->args.rbegin(); arg != call->args.rend(); ++arg) pending.push_back(&*arg);
    }
  }
  return messages;
}

std::vector<std::string> collect_expr_messages(std::string_view subject, const ModelGraph& graph,
                                               const std::vector<Expr>& exprs) {
  std::vector<std::string> messages;
  for (const Expr& expr : exprs) {
    for (std::string& message : check_expr_refs(subject, graph, expr)) messages.push_back(std::move(message));
  }
  return messages;
}

std::vector<std::string> check_variable_refs(std::string_view subject, const ModelGraph& graph,
                                             const Subject& quantity) {
  std::vector<std::string> messages;
  auto reservoir_and_species = [&](const auto& of) {
    check_reservoir(subject, graph, of.reservoir, messages);
    check_species(subject, graph, of.species, messages);
  };
  if (const auto* amount = std::get_if<Subject::Amount>(&quantity.kind)) {
    reservoir_and_species(*amount);
  } else if (const auto* remaining = std::get_if<Subject::FractionRemaining>(&quantity.kind)) {
    reservoir_and_species(*remaining);
  } else if (const auto* reacted = std::get_if<Subject::FractionReacted>(&quantity.kind)) {
    reservoir_and_species(*reacted);
  } else if (const auto* composition = std::get_if<Subject::Composition>(&quantity.kind)) {
    check_reservoir(subject, graph, composition->reservoir, messages);
    check_isotope(subject, graph, composition->isotope, messages);
  } else if (const auto* pool = std::get_if<Subject::PoolComposition>(&quantity.kind)) {
    check_reservoir(subject, graph, pool->reservoir, messages);
    check_species(subject, graph, pool->species, messages);
    check_isotope(subject, graph, pool->isotope, messages);
  }
  return messages;
}

}  // namespace ovm::ir
