#include "ir/json/json_input.hpp"

#include <limits>

namespace ovm::ir {
namespace {

JsonStatus mismatch(JsonInput in, const KeptValue& value, std::string_view expected) {
  return value_error(in, invalid_type_message(json_found_text(value), expected));
}

// A number of the text, read with no kept value between when one comes next; `taken` says
// whether it did. A kept value for messages is made only when the number is not as expected,
// and so is the number's text, from `text`.
JsonStatus take_text_number(JsonInput in, JsonNumber& number, JsonKind& kind, bool& taken, std::string_view& text) {
  taken = false;
  if (in.reader == nullptr) return std::nullopt;
  JsonReader& r = *in.reader;
  std::optional<char> c = next_byte(r);
  taken = c && starts_number(*c);
  if (!taken) return std::nullopt;
  std::size_t start = r.pos;
  if (auto error = take_number_value_at(r, number, kind)) return error;
  text = r.text.substr(start, r.pos - start);
  return std::nullopt;
}

KeptValue kept_number(JsonNumber number, JsonKind kind) {
  KeptValue value;
  value.kind = kind;
  value.number = std::move(number);
  return value;
}

JsonStatus read_unsigned(JsonInput in, std::uint64_t largest, std::string_view expected, std::uint64_t& out) {
  JsonNumber number;
  JsonKind kind = JsonKind::Null;
  bool taken = false;
  std::string_view text;
  if (auto error = take_text_number(in, number, kind, taken, text)) return error;
  if (taken && kind == JsonKind::Unsigned && number.fits && number.magnitude <= largest) {
    out = number.magnitude;
    return std::nullopt;
  }
  KeptValue scratch;
  const KeptValue* value = nullptr;
  if (taken) {
    number.text.assign(text);
    scratch = kept_number(std::move(number), kind);
    value = &scratch;
  } else if (auto error = take_value(in, scratch, value)) {
    return error;
  }
  bool integer = value->kind == JsonKind::Unsigned || value->kind == JsonKind::Negative;
  if (!integer) return mismatch(in, *value, expected);
  if (value->kind == JsonKind::Negative || !value->number.fits || value->number.magnitude > largest) {
    return value_error(in, invalid_value_message(json_found_text(*value), expected));
  }
  out = value->number.magnitude;
  return std::nullopt;
}

}  // namespace

JsonError value_error(JsonInput in, std::string message) {
  if (in.reader == nullptr) return JsonError{std::move(message)};
  return error_here(*in.reader, std::move(message));
}

JsonStatus take_value(JsonInput in, KeptValue& scratch, const KeptValue*& value) {
  if (in.kept != nullptr) {
    value = in.kept;
    return std::nullopt;
  }
  value = &scratch;
  return take_scalar(*in.reader, scratch);
}

JsonStatus read_u32(JsonInput in, std::uint32_t& out) {
  std::uint64_t value = 0;
  if (auto error = read_unsigned(in, std::numeric_limits<std::uint32_t>::max(), "u32", value)) return error;
  out = static_cast<std::uint32_t>(value);
  return std::nullopt;
}

JsonStatus read_u16(JsonInput in, std::uint16_t& out) {
  std::uint64_t value = 0;
  if (auto error = read_unsigned(in, std::numeric_limits<std::uint16_t>::max(), "u16", value)) return error;
  out = static_cast<std::uint16_t>(value);
  return std::nullopt;
}

JsonStatus read_f64(JsonInput in, double& out) {
  JsonNumber number;
  JsonKind kind = JsonKind::Null;
  bool taken = false;
  std::string_view text;
  if (auto error = take_text_number(in, number, kind, taken, text)) return error;
  if (taken) {
    out = number.value;
    return std::nullopt;
  }
  KeptValue scratch;
  const KeptValue* value = nullptr;
  if (auto error = take_value(in, scratch, value)) return error;
  bool numeric = value->kind == JsonKind::Unsigned || value->kind == JsonKind::Negative || value->kind == JsonKind::Float;
  if (!numeric) return mismatch(in, *value, "f64");
  out = value->number.value;
  return std::nullopt;
}

JsonStatus read_string(JsonInput in, std::string& out) {
  if (in.reader != nullptr && next_byte(*in.reader) == '"') return take_string_at(*in.reader, out);
  KeptValue scratch;
  const KeptValue* value = nullptr;
  if (auto error = take_value(in, scratch, value)) return error;
  if (value->kind != JsonKind::String) return mismatch(in, *value, "a string");
  out = value->text;
  return std::nullopt;
}

JsonStatus read_bool(JsonInput in, bool& out) {
  KeptValue scratch;
  const KeptValue* value = nullptr;
  if (auto error = take_value(in, scratch, value)) return error;
  if (value->kind != JsonKind::Boolean) return mismatch(in, *value, "a boolean");
  out = value->boolean;
  return std::nullopt;
}

JsonStatus take_null(JsonInput in, bool& was_null) {
  if (in.kept != nullptr) {
    was_null = in.kept->kind == JsonKind::Null;
    return std::nullopt;
  }
  was_null = next_byte(*in.reader) == 'n';
  if (!was_null) return std::nullopt;
  return take_null_at(*in.reader);
}

JsonStatus read_elements(JsonInput in, const JsonCallback<JsonStatus(JsonInput)>& read_element) {
  if (in.kept != nullptr) {
    if (in.kept->kind != JsonKind::Array) return mismatch(in, *in.kept, "a sequence");
    for (const KeptValue& element : in.kept->elements) {
      if (auto error = read_element(kept_input(element))) return error;
    }
    return std::nullopt;
  }
  JsonReader& r = *in.reader;
  if (next_byte(r) != '[') {
    KeptValue head;
    if (auto error = take_scalar(r, head)) return error;
    return mismatch(in, head, "a sequence");
  }
  if (auto error = open_container(r)) return error;
  return read_array_rest(r, true, [&]() -> JsonStatus {
    if (auto error = read_element(in)) return place_error_at_close(r, *error, ']');
    return std::nullopt;
  });
}

JsonStatus read_json_document(std::string_view text, const std::function<JsonStatus(JsonInput)>& read_root) {
  JsonReader r{text};
  if (auto error = read_root(text_input(r))) return place_error(r, *error);
  if (next_byte(r)) return error_at_next(r, "trailing characters");
  return std::nullopt;
}

}  // namespace ovm::ir
