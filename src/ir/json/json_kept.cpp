#include "ir/json/json_kept.hpp"

#include "diagnostics/number_text.hpp"
#include "ir/json/json_string.hpp"

namespace ovm::ir {

std::string json_found_text(const KeptValue& value) {
  switch (value.kind) {
    case JsonKind::Null: return "null";
    case JsonKind::Boolean: return value.boolean ? "boolean `true`" : "boolean `false`";
    case JsonKind::Unsigned:
    case JsonKind::Negative: return "integer `" + value.number.text + "`";
    case JsonKind::Float: {
      // The value read, with a point so that it shows as a fraction even when whole.
      std::string number = diagnostics::plain_decimal(value.number.value);
      if (number.find('.') == std::string::npos) number += ".0";
      return "floating point `" + number + "`";
    }
    case JsonKind::String: return "string " + json_string_text(value.text);
    case JsonKind::Array: return "sequence";
    case JsonKind::Object: return "map";
  }
  return "map";
}

}  // namespace ovm::ir
