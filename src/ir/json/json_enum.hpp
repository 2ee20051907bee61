#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"

namespace ovm::ir {

// A unit enum: a string naming a variant, or an object whose one key names it. In the text
// that key's value is `null`; in a kept value it may also be an empty object.
[[nodiscard]] JsonStatus read_unit_enum(JsonInput in, std::span<const std::string_view> names, std::size_t& variant);

template <class Enum>
[[nodiscard]] JsonStatus read_enum(JsonInput in, std::span<const std::string_view> names, Enum& out) {
  std::size_t variant = 0;
  if (auto error = read_unit_enum(in, names, variant)) return error;
  out = static_cast<Enum>(variant);
  return std::nullopt;
}

// The tag of a tagged enum where a variant identifier stands: a string naming the variant;
// in a kept value also the variant's index.
[[nodiscard]] JsonStatus read_variant_identifier(JsonInput in, std::span<const std::string_view> names,
                                                 std::size_t& variant);

}  // namespace ovm::ir
