#include "ir/json/json_error.hpp"

namespace ovm::ir {
namespace {

std::string quoted(std::string_view name) { return "`" + std::string(name) + "`"; }

std::string count_text(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " element" : " elements");
}

}  // namespace

std::string json_error_text(const JsonError& error) {
  return error.message + " at line " + std::to_string(error.line) + " column " + std::to_string(error.column);
}

std::string missing_field_message(std::string_view key) { return "missing field " + quoted(key); }

std::string duplicate_field_message(std::string_view key) { return "duplicate field " + quoted(key); }

std::string unknown_field_message(std::string_view key, std::span<const std::string_view> members) {
  if (members.empty()) return "unknown field " + quoted(key) + ", there are no fields";
  return "unknown field " + quoted(key) + ", expected " + json_name_list(members);
}

std::string unknown_variant_message(std::string_view name, std::span<const std::string_view> variants) {
  if (variants.empty()) return "unknown variant " + quoted(name) + ", there are no variants";
  return "unknown variant " + quoted(name) + ", expected " + json_name_list(variants);
}

std::string invalid_type_message(std::string_view found, std::string_view expected) {
  return "invalid type: " + std::string(found) + ", expected " + std::string(expected);
}

std::string invalid_value_message(std::string_view found, std::string_view expected) {
  return "invalid value: " + std::string(found) + ", expected " + std::string(expected);
}

std::string invalid_length_message(std::size_t length, std::string_view expected) {
  return "invalid length " + std::to_string(length) + ", expected " + std::string(expected);
}

std::string json_name_list(std::span<const std::string_view> names) {
  if (names.size() == 1) return quoted(names[0]);
  if (names.size() == 2) return quoted(names[0]) + " or " + quoted(names[1]);
  std::string list = "one of ";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) list += ", ";
    list += quoted(names[i]);
  }
  return list;
}

std::string with_elements_text(std::string_view expecting, std::size_t count) {
  return std::string(expecting) + " with " + count_text(count);
}

std::string elements_in_sequence_text(std::size_t count) { return count_text(count) + " in sequence"; }

}  // namespace ovm::ir
