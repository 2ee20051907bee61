#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "syntax/value.hpp"

namespace ovm::ir {

// The text without the Unicode white space at either end.
std::string_view trim_white_space(std::string_view text);

// The position of the first identifier among `values` that is the modifier word `word`, which
// the checks match under ASCII case folding.
std::optional<std::size_t> modifier_position(const std::vector<syntax::Value>& values, std::string_view word);

}  // namespace ovm::ir
