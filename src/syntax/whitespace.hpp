#pragma once

#include <cstddef>
#include <string_view>

namespace ovm::syntax {

// The length in bytes of the character at `at` when it is white space as Unicode defines it
// (space, tab, CR, form feed, no-break and the other wide spaces), or 0.
std::size_t white_space_length(std::string_view text, std::size_t at);

}  // namespace ovm::syntax
