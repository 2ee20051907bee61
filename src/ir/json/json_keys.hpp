#pragma once

#include <string_view>

namespace ovm::ir {

// The keys of a tagged enum's object: the variant's name, and an adjacently tagged content.
inline constexpr std::string_view json_tag_key = "kind";
inline constexpr std::string_view json_content_key = "of";

}  // namespace ovm::ir
