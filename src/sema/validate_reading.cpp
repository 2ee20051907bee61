#include "sema/validate_reading.hpp"

#include <string>
#include <variant>

namespace ovm::sema {

std::string_view value_text(const syntax::Value& value) {
  return value.text();
}

std::optional<double> value_number(const syntax::Value& value) {
  if (value.kind != syntax::ValueKind::Number) return std::nullopt;
  return value.number();
}

std::optional<syntax::ValuesBody> values_body(const syntax::Statement& statement) {
  return syntax::body_as<syntax::ValuesBody>(statement);
}

const syntax::Value* first_value(const syntax::Statement& statement) {
  const std::optional<syntax::ValuesBody> body = values_body(statement);
  if (!body || body->values.empty()) return nullptr;
  return &body->values.front();
}

bool is_kind(const syntax::Value* value, syntax::ValueKind kind) { return value != nullptr && value->kind == kind; }

}  // namespace ovm::sema
