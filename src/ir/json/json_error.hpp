#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ovm::ir {

// Why a document could not be read, and where reading stopped: the line from 1 and the column
// in bytes from the start of that line. An error found in a kept value has no place of its own
// (line 0) until the text reader around it places it.
struct JsonError {
  std::string message;
  std::size_t line = 0;
  std::size_t column = 0;

  bool placed() const { return line != 0; }
  friend bool operator==(const JsonError&, const JsonError&) = default;
};

// Empty when a read step succeeded, else its error. Every reader stops at its first error.
using JsonStatus = std::optional<JsonError>;

// "{} at line {} column {}".
std::string json_error_text(const JsonError& error);

// The message texts that name members, variants, found values and expectations.
std::string missing_field_message(std::string_view key);
std::string duplicate_field_message(std::string_view key);
std::string unknown_field_message(std::string_view key, std::span<const std::string_view> members);
std::string unknown_variant_message(std::string_view name, std::span<const std::string_view> variants);
std::string invalid_type_message(std::string_view found, std::string_view expected);
std::string invalid_value_message(std::string_view found, std::string_view expected);
std::string invalid_length_message(std::size_t length, std::string_view expected);

// "`a`", "`a` or `b`", "one of `a`, `b`, `c`".
std::string json_name_list(std::span<const std::string_view> names);
// "<expecting> with 1 element", "<expecting> with 3 elements".
std::string with_elements_text(std::string_view expecting, std::size_t count);
// "1 element in sequence", "2 elements in sequence".
std::string elements_in_sequence_text(std::size_t count);

}  // namespace ovm::ir
