#pragma once

#include <cstdint>
#include <string_view>

namespace ovm::sema {

// The Levenshtein distance between two scalar sequences whenever it is at most `limit`;
// otherwise some count above `limit` (limit + 1 when the lengths alone or a whole row rule it
// out, the full distance otherwise). Callers only ask whether the result is within the limit.
std::uint32_t edit_distance(std::u32string_view a, std::u32string_view b, std::uint32_t limit);

// The same over the scalar values of two UTF-8 texts.
std::uint32_t edit_distance(std::string_view a, std::string_view b, std::uint32_t limit);

}  // namespace ovm::sema
