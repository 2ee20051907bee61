#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// The definition of the parameter `name` the block `scope` sees: its own first, then the
// model-wide one, as lowering looks them up: the last assignment of that name. Null for a name
// no parameter has.
const syntax::AssignmentBody* find_parameter_definition(const ValidationContext& context,
                                                        std::optional<std::string_view> scope, std::string_view name);

// The value of a number, a named constant (R), or a negation of one: what lowering turns into
// a constant without evaluating anything. Nothing for any other expression.
std::optional<double> constant_expression_value(const syntax::SyntaxExpr& expression);
bool is_constant_expression(const syntax::SyntaxExpr& expression);

// A number written as a name (`temperature T0`) that lowering reads once, before the run: the
// name must stand for a parameter set to a constant. Its unit: a parameter written with a unit
// is that quantity already, so its unit must measure one of `dimensions` and the statement may
// not write another; a parameter without one is converted as a written number would be.
void check_named_number(ValidationContext& context, std::optional<std::string_view> scope, const syntax::Value& name,
                        const syntax::Statement& statement, const syntax::UnitExpr* statement_unit,
                        std::span<const std::string_view> dimensions);

}  // namespace ovm::sema
