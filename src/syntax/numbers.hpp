#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ovm::syntax {

// A number token's text as the nearest 64-bit float. A text beyond the float range reads as
// infinity, one below the smallest positive value as 0; a text that is no number reads as NaN.
double read_float(std::string_view text);

// The whole text as a signed 32-bit integer, or nothing (a fraction, an exponent, a value out
// of range).
std::optional<std::int32_t> read_int32(std::string_view text);

}  // namespace ovm::syntax
