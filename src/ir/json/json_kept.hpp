#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ovm::ir {

// What a JSON value is, as the readers tell values apart. Numbers are told apart by how the
// text wrote them: an integer without sign, an integer with a minus sign, or a number with a
// fraction or an exponent.
enum class JsonKind : std::uint8_t { Null, Boolean, Unsigned, Negative, Float, String, Array, Object };

struct JsonNumber {
  std::string text;             // as written, e.g. "-12" or "2.50e3"
  double value = 0;             // the nearest double
  std::uint64_t magnitude = 0;  // an integer's digits, when `fits` says they fit
  bool fits = false;            // an integer whose digits fit in 64 bits
};

struct KeptMember;

// A JSON value taken out of the text before its reader knew how to read it, remembering what
// the text said. Object members keep their text order, a repeated key as often as it occurs.
struct KeptValue {
  JsonKind kind = JsonKind::Null;
  bool boolean = false;
  JsonNumber number;
  std::string text;  // a string's content, unescaped
  std::vector<KeptValue> elements;
  std::vector<KeptMember> members;
};

struct KeptMember {
  std::string key;
  KeptValue value;
};

// The found-value words of "invalid type" and "invalid value" messages: "null",
// "boolean `true`", "integer `-3`", "floating point `2.0`", "string \"x\"", "sequence", "map".
std::string json_found_text(const KeptValue& value);

}  // namespace ovm::ir
