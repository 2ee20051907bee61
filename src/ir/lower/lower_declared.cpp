#include "ir/lower/lower_declared.hpp"

#include <variant>

#include "ir/lower/lower_expr.hpp"
#include "ir/lower/lower_values.hpp"

namespace ovm::ir {

namespace {

void declare(LoweringContext& context, const syntax::Statement& statement, std::optional<std::string> owner,
             std::string name) {
  context.declared_parameters[&statement] = add_parameter(context, std::move(owner), std::move(name), std::nullopt);
}

}  // namespace

void declare_model_parameters(LoweringContext& context, const std::vector<syntax::Block>& blocks,
                              const std::vector<sema::BlockResolution>& resolutions) {
  for (std::size_t i = 0; i < blocks.size() && i < resolutions.size(); ++i) {
    if (resolutions[i].spec == nullptr || resolutions[i].spec->name != "PARAMETERS") continue;
    for (const syntax::Statement& statement : blocks[i].statements) {
      if (std::holds_alternative<syntax::AssignmentBody>(statement.body())) {
        declare(context, statement, std::nullopt, std::string(statement.key().text()));
      }
    }
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
  auto declared = context.declared_parameters.find(&statement);
  ParameterId id = declared != context.declared_parameters.end()
                       ? declared->second
                       : add_parameter(context, owner, std::move(name), std::nullopt);
  Expr value = with_written_unit(lower_expr(context, *assignment.expr, owner), assignment.unit);
  context.graph.parameters[id.index].value = std::move(value);
  return id;
}

}  // namespace ovm::ir
