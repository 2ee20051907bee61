#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "ir/json/json_callback.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_keys.hpp"

namespace ovm::ir {

struct JsonVariant {
  std::string_view name;       // as in the file: "pool_composition"
  std::string_view type_name;  // as in messages: "PoolComposition"
  bool has_content = true;     // false for a variant without data
};

struct JsonEnum {
  std::string_view type_name;
  std::span<const JsonVariant> variants;
};

// Reads the data of variant `variant` from `content`: for an internally tagged enum the kept
// object or array of the members beside the tag, for an adjacently tagged one the content.
using JsonContentReader = JsonCallback<JsonStatus(std::size_t variant, JsonInput content)>;

// An internally tagged enum: an object with "kind" among its members, or an array of the tag
// and the members. The whole value is kept first; `read_members` then reads the variant's
// members from the kept rest (with `read_record`), and its errors come out unplaced, to be
// placed by the reader around. A variant without data ignores the rest of an object and
// takes no element after the tag.
[[nodiscard]] JsonStatus read_internally_tagged(JsonInput in, const JsonEnum& type, std::size_t& variant,
                                                const JsonContentReader& read_members);

// An adjacently tagged enum: an object with "kind" and "of" in either order (an "of" before
// "kind" is kept until the tag is known), or an array of the tag and the content. A variant
// without data takes no "of", or `null`; `read_content` is called only for the others.
[[nodiscard]] JsonStatus read_adjacently_tagged(JsonInput in, const JsonEnum& type, std::size_t& variant,
                                                const JsonContentReader& read_content);

}  // namespace ovm::ir
