#pragma once

#include <optional>
#include <string_view>

#include "diagnostics/text_match.hpp"
#include "syntax/tree.hpp"
#include "syntax/value.hpp"

namespace ovm::sema {

// The text a value carries as written; the empty text for numbers and qualified names.
std::string_view value_text(const syntax::Value& value);

// The float of a number value; none for any other kind.
std::optional<double> value_number(const syntax::Value& value);

// The values body of a statement, or none for every other body.
std::optional<syntax::ValuesBody> values_body(const syntax::Statement& statement);

// The first value of a values statement, or null when it has another body or no value.
const syntax::Value* first_value(const syntax::Statement& statement);

bool is_kind(const syntax::Value* value, syntax::ValueKind kind);

// Keys are matched under ASCII case folding wherever the checks look one up by its text. Checks
// ask this of every statement for keys written out, so it is inline: the size is compared first.
inline bool key_is(const syntax::Statement& statement, std::string_view key) {
  return diagnostics::equals_ascii_folded(statement.key().text(), key);
}

}  // namespace ovm::sema
