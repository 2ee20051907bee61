#include "ir/lower/lower_declared.hpp"

#include <variant>

#include "ir/lower/lower_expr.hpp"
#include "ir/lower/lower_values.hpp"

namespace ovm::ir {

namespace {

void declare(LoweringContext& context, const syntax::Statement& statement, std::optional<std::string> owner,
             std::string name) {
  context.declared_parameters.assign(&statement, add_parameter(context, std::move(owner), std::move(name), std::nullopt));
}

void set_value(LoweringContext& context, ParameterId id, const syntax::AssignmentBody& assignment,
               const std::optional<std::string>& owner) {
  Expr value = with_written_unit(lower_expr(context, *assignment.expr, owner), assignment.unit);
  context.graph.parameters[id.index].value = std::move(value);
}

}  // namespace

void declare_model_parameters(LoweringContext& context, const std::vector<syntax::Block>& blocks,
                              std::span<const sema::BlockSpec* const> kinds) {
  for (std::size_t i = 0; i < blocks.size() && i < kinds.size(); ++i) {
    if (kinds[i] == nullptr || kinds[i]->name != "PARAMETERS") continue;
    context.declared_blocks.assign(&blocks[i], ParameterId{static_cast<std::uint32_t>(context.graph.parameters.size())});
    for (const syntax::Statement& statement : blocks[i].statements) {
      if (statement.assignment() != nullptr) {
        add_parameter(context, std::nullopt, std::string(statement.key().text()), std::nullopt);
      }
    }
  }
}

void define_model_parameters(LoweringContext& context, const syntax::Block& block) {
  const ParameterId* first = context.declared_blocks.find(&block);
  std::optional<ParameterId> next;
  if (first != nullptr) next = *first;
  for (const syntax::Statement& statement : block.statements) {
    const syntax::AssignmentBody* assignment = statement.assignment();
    if (assignment == nullptr) continue;
    if (!next) {
      define_parameter(context, statement, *assignment, std::nullopt, std::string(statement.key().text()));
      continue;
    }
    set_value(context, *next, *assignment, std::nullopt);
    ++next->index;
  }
}

void declare_local_parameters(LoweringContext& context, const syntax::Block& block, const std::string& owner) {
  for (const syntax::Statement& statement : block.statements) {
    if (!key_is(statement, "parameter")) continue;
    if (const syntax::AssignmentBody* assignment = local_assignment(statement)) {
      declare(context, statement, owner, std::string(assignment->target->text));
    }
  }
}

const syntax::AssignmentBody* local_assignment(const syntax::Statement& statement) {
  const syntax::AssignmentBody* assignment = statement.assignment();
  if (assignment == nullptr || assignment->target == nullptr) return nullptr;
  return assignment;
}

ParameterId define_parameter(LoweringContext& context, const syntax::Statement& statement,
                             const syntax::AssignmentBody& assignment, std::optional<std::string> owner,
                             std::string name) {
  const ParameterId* declared = context.declared_parameters.find(&statement);
  ParameterId id = declared != nullptr ? *declared : add_parameter(context, owner, std::move(name), std::nullopt);
  set_value(context, id, assignment, owner);
  return id;
}

}  // namespace ovm::ir
