#include "ir/json/json_enum.hpp"

#include <optional>
#include <string>

namespace ovm::ir {
namespace {

JsonStatus find_variant(JsonInput in, std::span<const std::string_view> names, std::string_view name,
                        std::size_t& variant) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (same_name(names[i], name)) {
      variant = i;
      return std::nullopt;
    }
  }
  return value_error(in, unknown_variant_message(name, names));
}

// A name in the text, at its quote, looked up where it stands; inline, as it is where the
// tags and unit enums of the files are read.
inline JsonStatus find_text_variant(JsonReader& r, std::span<const std::string_view> names, std::size_t& variant) {
  std::string unescaped;
  std::string_view name;
  if (auto error = take_string_view_at(r, unescaped, name)) return error;
  return find_variant(text_input(r), names, name, variant);
}

// In the text: "name" or {"name": null}; any other shape is malformed.
JsonStatus read_text_unit_enum(JsonReader& r, std::span<const std::string_view> names, std::size_t& variant) {
  JsonInput in = text_input(r);
  std::optional<char> c = next_byte(r);
  if (!c) return error_at_next(r, "EOF while parsing a value");
  if (*c != '"' && *c != '{') return error_at_next(r, "expected a variant name");
  if (*c == '"') return find_text_variant(r, names, variant);
  KeptValue name;
  if (auto error = open_container(r)) return error;
  c = next_byte(r);
  if (!c) return error_at_next(r, "EOF while parsing an object");
  if (*c != '"') return error_at_next(r, "expected a variant name");
  if (auto error = take_scalar(r, name)) return error;
  if (auto error = find_variant(in, names, name.text, variant)) return error;
  if (auto error = member_colon(r)) return error;
  KeptValue value;
  if (auto error = take_scalar(r, value)) return error;
  if (value.kind != JsonKind::Null) return error_here(r, invalid_type_message(json_found_text(value), "unit"));
  c = next_byte(r);
  if (!c) return error_at_next(r, "EOF while parsing an object");
  if (*c != '}') return error_at_next(r, "expected `}`");
  close_container(r);
  return std::nullopt;
}

JsonStatus read_kept_unit_enum(const KeptValue& value, std::span<const std::string_view> names,
                               std::size_t& variant) {
  JsonInput in = kept_input(value);
  if (value.kind == JsonKind::String) return find_variant(in, names, value.text, variant);
  if (value.kind != JsonKind::Object) {
    return JsonError{invalid_type_message(json_found_text(value), "string or map")};
  }
  if (value.members.size() != 1) return JsonError{invalid_value_message("map", "map with a single key")};
  const KeptMember& member = value.members.front();
  if (auto error = find_variant(in, names, member.key, variant)) return error;
  bool unit = member.value.kind == JsonKind::Null ||
              (member.value.kind == JsonKind::Object && member.value.members.empty());
  if (!unit) return JsonError{invalid_type_message(json_found_text(member.value), "unit")};
  return std::nullopt;
}

}  // namespace

JsonStatus read_unit_enum(JsonInput in, std::span<const std::string_view> names, std::size_t& variant) {
  if (in.kept != nullptr) return read_kept_unit_enum(*in.kept, names, variant);
  return read_text_unit_enum(*in.reader, names, variant);
}

JsonStatus read_variant_identifier(JsonInput in, std::span<const std::string_view> names, std::size_t& variant) {
  // The writer's tag, a name in the text, is looked up where it stands, with no kept value.
  if (in.reader != nullptr && next_byte(*in.reader) == '"') return find_text_variant(*in.reader, names, variant);
  KeptValue scratch;
  const KeptValue* value = nullptr;
  if (auto error = take_value(in, scratch, value)) return error;
  if (value->kind == JsonKind::String) return find_variant(in, names, value->text, variant);
  if (in.kept != nullptr && value->kind == JsonKind::Unsigned) {
    if (value->number.fits && value->number.magnitude < names.size()) {
      variant = static_cast<std::size_t>(value->number.magnitude);
      return std::nullopt;
    }
    std::string expected = "variant index 0 <= i < " + std::to_string(names.size());
    return JsonError{invalid_value_message(json_found_text(*value), expected)};
  }
  return value_error(in, invalid_type_message(json_found_text(*value), "variant identifier"));
}

}  // namespace ovm::ir
