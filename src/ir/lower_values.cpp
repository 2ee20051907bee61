#include "ir/lower_values.hpp"

#include <variant>

#include "ir/debug_number.hpp"
#include "sema/unit_registry.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::ir {

using syntax::ValueKind;

bool key_is(const syntax::Statement& statement, std::string_view key) { return sema::key_is(statement, key); }

std::optional<std::string> value_text(const syntax::Value& value) {
  switch (value.kind) {
    case ValueKind::Number: {
      const auto* number = std::get_if<double>(&value.payload);
      if (number == nullptr) return std::nullopt;
      return debug_number_text(*number);
    }
    case ValueKind::Qualified: {
      const auto* parts = std::get_if<std::span<const std::string_view>>(&value.payload);
      if (parts == nullptr) return std::nullopt;
      std::string joined;
      for (std::size_t i = 0; i < parts->size(); ++i) {
        if (i > 0) joined += '.';
        joined += (*parts)[i];
      }
      return joined;
    }
    case ValueKind::Unreadable:
      return std::nullopt;
    default: {
      const auto* text = std::get_if<std::string_view>(&value.payload);
      if (text == nullptr) return std::nullopt;
      return std::string(*text);
    }
  }
}

std::optional<std::string> value_text(const syntax::Statement& statement) {
  const syntax::Value* first = sema::first_value(statement);
  if (first == nullptr) return std::nullopt;
  return value_text(*first);
}

std::optional<std::string> last_value_text(const syntax::Statement& statement) {
  const syntax::ValuesBody* body = sema::values_body(statement);
  if (body == nullptr || body->values.empty()) return std::nullopt;
  return value_text(body->values.back());
}

std::optional<double> first_number(const syntax::Statement& statement) {
  const syntax::ValuesBody* body = sema::values_body(statement);
  if (body == nullptr) return std::nullopt;
  for (const syntax::Value& value : body->values) {
    if (std::optional<double> number = sema::value_number(value)) return number;
  }
  return std::nullopt;
}

namespace {

std::optional<std::string> unit_name_for(const LoweringContext& context, const syntax::ValuesBody& body,
                                         std::string_view dimension) {
  if (body.unit) return std::string(body.unit->text);
  if (!body.values.empty() && body.values.front().kind == ValueKind::Identifier) {
    return std::string(sema::value_text(body.values.front()));
  }
  auto preset = context.unit_defaults.find(std::string(dimension));
  if (preset != context.unit_defaults.end()) return preset->second;
  std::vector<std::string_view> units = sema::units_of_dimension(dimension);
  if (units.size() == 1) return std::string(units.front());
  return std::nullopt;
}

}  // namespace

std::optional<double> quantity_to_base(const LoweringContext& context, const syntax::Statement& statement,
                                       std::string_view dimension) {
  const syntax::ValuesBody* body = sema::values_body(statement);
  if (body == nullptr) return std::nullopt;
  std::optional<double> number = first_number(statement);
  if (!number) return std::nullopt;
  std::optional<std::string> unit = unit_name_for(context, *body, dimension);
  if (!unit) return std::nullopt;
  std::optional<sema::UnitMatch> match = sema::find_unit(*unit);
  if (!match) return std::nullopt;
  return sema::to_base(match->unit, *number);
}

Expr with_written_unit(Expr expr, const syntax::UnitExpr* unit) {
  if (unit == nullptr) return expr;
  auto* constant = std::get_if<Expr::Constant>(&expr.kind);
  if (constant == nullptr) return expr;
  std::optional<sema::UnitMatch> match = sema::find_unit(unit->text);
  if (!match) return expr;
  return constant_expr(sema::to_base(match->unit, constant->value));
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
