#include "ir/lower/lower_values.hpp"

#include <variant>

#include "ir/graph/debug_number.hpp"
#include "ir/lower/lower_expr.hpp"
#include "sema/block_table.hpp"
#include "sema/unit_registry.hpp"
#include "sema/validate_named_numbers.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::ir {

using syntax::ValueKind;

bool key_is(const syntax::Statement& statement, std::string_view key) { return sema::key_is(statement, key); }

std::optional<std::string> value_text(const syntax::Value& value) {
  switch (value.kind) {
    case ValueKind::Number: {
      return debug_number_text(value.number());
    }
    case ValueKind::Qualified: {
      std::span<const std::string_view> parts = value.parts();
      std::string joined;
      for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) joined += '.';
        joined += parts[i];
      }
      return joined;
    }
    case ValueKind::Unreadable:
      return std::nullopt;
    default: return std::string(value.text());
  }
}

std::optional<std::string> value_text(const syntax::Statement& statement) {
  const syntax::Value* first = sema::first_value(statement);
  if (first == nullptr) return std::nullopt;
  return value_text(*first);
}

std::optional<std::string> last_value_text(const syntax::Statement& statement) {
  const std::optional<syntax::ValuesBody> body = sema::values_body(statement);
  if (!body || body->values.empty()) return std::nullopt;
  return value_text(body->values.back());
}

std::optional<double> first_number(const syntax::Statement& statement) {
  const std::optional<syntax::ValuesBody> body = sema::values_body(statement);
  if (!body) return std::nullopt;
  for (const syntax::Value& value : body->values) {
    if (std::optional<double> number = sema::value_number(value)) return number;
  }
  return std::nullopt;
}

namespace {

std::optional<std::string> unit_name_for(const LoweringContext& context, const syntax::ValuesBody& body,
                                         std::string_view dimension, bool leading_word) {
  if (body.unit) return std::string(body.unit->text());
  if (leading_word && !body.values.empty() && body.values.front().kind == ValueKind::Identifier) {
    return std::string(sema::value_text(body.values.front()));
  }
  auto preset = context.unit_defaults.find(std::string(dimension));
  if (preset != context.unit_defaults.end()) return preset->second;
  std::vector<std::string_view> units = sema::units_of_dimension(dimension);
  if (units.size() == 1) return std::string(units.front());
  return std::nullopt;
}

}  // namespace

namespace {

const syntax::AssignmentBody& assignment_of(const ParameterDefinition& definition) {
  return *definition.statement->assignment();
}

std::string_view defined_name(const ParameterDefinition& definition) {
  return definition.owner ? assignment_of(definition).target->text : definition.statement->key().text();
}

// Whether the definition at a position has this owner and name.
auto is_definition_of(const std::vector<ParameterDefinition>& definitions, std::optional<std::string_view> owner,
                      std::string_view name) {
  return [&definitions, owner, name](std::uint32_t position) {
    const ParameterDefinition& definition = definitions[position];
    if ((definition.owner != nullptr) != owner.has_value()) return false;
    return (!owner || definition.owner->name()->text == *owner) && defined_name(definition) == name;
  };
}

const syntax::AssignmentBody* find_definition(const LoweringContext& context, std::optional<std::string_view> owner,
                                              std::string_view name) {
  std::optional<std::uint32_t> at = context.definitions_by_name.find(
      owned_name_hash(owner, name), is_definition_of(context.parameter_definitions, owner, name));
  return at ? &assignment_of(context.parameter_definitions[*at]) : nullptr;
}

void define(LoweringContext& context, ParameterDefinition definition) {
  std::optional<std::string_view> owner;
  if (definition.owner) owner = definition.owner->name()->text;
  std::string_view name = defined_name(definition);
  std::uint32_t hash = owned_name_hash(owner, name);
  auto matches = is_definition_of(context.parameter_definitions, owner, name);
  if (std::optional<std::uint32_t> at = context.definitions_by_name.find(hash, matches)) {
    context.parameter_definitions[*at] = definition;
    return;
  }
  context.definitions_by_name.add(hash, context.parameter_definitions.size());
  context.parameter_definitions.push_back(definition);
}

}  // namespace

std::optional<NamedNumber> named_number(const LoweringContext& context, const syntax::Value& value,
                                        const std::optional<std::string>& owner) {
  if (value.kind != ValueKind::Identifier) return std::nullopt;
  std::string_view name = sema::value_text(value);
  const syntax::AssignmentBody* found = owner ? find_definition(context, *owner, name) : nullptr;
  if (found == nullptr) found = find_definition(context, std::nullopt, name);
  if (found == nullptr) return std::nullopt;
  const syntax::AssignmentBody& assignment = *found;
  std::optional<double> number = sema::constant_expression_value(*assignment.expr);
  if (!number) return std::nullopt;
  if (assignment.unit == nullptr) return NamedNumber{*number, std::nullopt};
  std::optional<sema::UnitMatch> unit = sema::find_unit(assignment.unit->text());
  if (!unit) return std::nullopt;
  return NamedNumber{sema::to_base(unit->unit, *number), unit->dimension.name};
}

void gather_parameter_definitions(LoweringContext& context, const std::vector<syntax::Block>& blocks,
                                  std::span<const sema::BlockSpec* const> kinds) {
  for (std::size_t i = 0; i < blocks.size() && i < kinds.size(); ++i) {
    const sema::BlockSpec* kind = kinds[i];
    if (kind == nullptr) continue;
    const syntax::Block& block = blocks[i];
    for (const syntax::Statement& statement : block.statements) {
      const syntax::AssignmentBody* assignment = statement.assignment();
      if (assignment == nullptr || assignment->expr == nullptr) continue;
      if (kind->name == "PARAMETERS") {
        define(context, ParameterDefinition{&statement, nullptr});
      } else if (kind->local_parameters && block.name() && assignment->target && key_is(statement, "parameter")) {
        define(context, ParameterDefinition{&statement, &block});
      }
    }
  }
}

std::optional<double> number_or_name(const LoweringContext& context, const syntax::Value& value,
                                     const std::optional<std::string>& owner) {
  if (std::optional<NamedNumber> named = named_number(context, value, owner)) return named->value;
  return sema::value_number(value);
}

std::optional<double> main_number(const LoweringContext& context, const syntax::Statement& statement,
                                  const std::optional<std::string>& owner) {
  const syntax::Value* first = sema::first_value(statement);
  if (first != nullptr) {
    if (std::optional<NamedNumber> named = named_number(context, *first, owner)) return named->value;
  }
  return first_number(statement);
}

std::optional<double> quantity_to_base(const LoweringContext& context, const syntax::Statement& statement,
                                       std::string_view dimension, const std::optional<std::string>& owner) {
  const std::optional<syntax::ValuesBody> body = sema::values_body(statement);
  if (!body) return std::nullopt;
  std::optional<double> number;
  std::optional<std::string> unit;
  std::optional<NamedNumber> named = body->values.empty() ? std::nullopt : named_number(context, body->values.front(), owner);
  if (named && named->dimension) {
    // The parameter's own unit has converted it already; a second unit has no meaning.
    if (body->unit) return std::nullopt;
    return named->value;
  }
  if (named) {
    number = named->value;
    unit = unit_name_for(context, *body, dimension, false);
  } else {
    number = first_number(statement);
    unit = unit_name_for(context, *body, dimension, true);
  }
  if (!number || !unit) return std::nullopt;
  std::optional<sema::UnitMatch> match = sema::find_unit(*unit);
  if (!match) return std::nullopt;
  return sema::to_base(match->unit, *number);
}

std::optional<double> constant_value(const Expr& expr) {
  // A loop, not recursion: a hand-built graph may nest negations to any depth.
  bool negated = false;
  const Expr* node = &expr;
  while (const auto* unary = std::get_if<Expr::Unary>(&node->kind)) {
    negated = !negated;
    node = unary->operand.get();
  }
  const auto* constant = std::get_if<Expr::Constant>(&node->kind);
  if (constant == nullptr) return std::nullopt;
  return negated ? -constant->value : constant->value;
}

Expr with_written_unit(Expr expr, const syntax::UnitExpr* unit) {
  if (unit == nullptr) return expr;
  std::optional<double> value = constant_value(expr);
  if (!value) return expr;
  std::optional<sema::UnitMatch> match = sema::find_unit(unit->text());
  if (!match) return expr;
  return constant_expr(sema::to_base(match->unit, *value));
}

std::vector<std::string> collect_value_texts(std::span<const syntax::Value> values) {
  std::vector<std::string> texts;
  for (const syntax::Value& value : values) {
    if (std::optional<std::string> text = value_text(value)) texts.push_back(std::move(*text));
  }
  return texts;
}

std::vector<ReservoirId> collect_reservoir_ids(const LoweringContext& context, std::span<const syntax::Value> values) {
  std::vector<ReservoirId> ids;
  for (const std::string& text : collect_value_texts(values)) {
    if (std::optional<ReservoirId> id = reservoir_id_of(context, text)) ids.push_back(*id);
  }
  return ids;
}

std::vector<ProcessId> collect_process_ids(const LoweringContext& context, std::span<const syntax::Value> values) {
  std::vector<ProcessId> ids;
  for (const std::string& text : collect_value_texts(values)) {
    if (std::optional<ProcessId> id = process_id_of(context, text)) ids.push_back(*id);
  }
  return ids;
}

std::vector<double> collect_numbers(std::span<const syntax::Value> values) {
  std::vector<double> numbers;
  for (const syntax::Value& value : values) {
    if (std::optional<double> number = sema::value_number(value)) numbers.push_back(*number);
  }
  return numbers;
}

}  // namespace ovm::ir
