#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "syntax/value.hpp"

namespace ovm::sema {

// The text without the Unicode white space at either end.
std::string_view trim_white_space(std::string_view text);

// The position of the first identifier among `values` that is the modifier word `word` under
// ASCII case folding, as the checks match modifiers: `Standard` is `standard`.
std::optional<std::size_t> modifier_position(std::span<const syntax::Value> values, std::string_view word);

}  // namespace ovm::sema
