#pragma once

#include <array>
#include <string_view>

#include "sema/names_of.hpp"

namespace ovm::sema {

// A name an inline law (the statements under a FRACTIONATION `law`) may assign, with the
// dimension of what it assigns.
struct InlineLawTarget {
  std::string_view name;
  std::string_view dimension;
};

inline constexpr auto inline_law_targets = std::to_array<InlineLawTarget>({
    {"alpha", "dimensionless"},
    {"epsilon", "delta"},
    {"1000ln_alpha", "delta"},
});

// The target names in table order: the keys an inline law accepts and the suggestions it offers.
inline constexpr auto inline_law_target_names = names_of(inline_law_targets);

// A name expressions may use as a fixed number. The unit documents the value; nothing converts it.
struct NamedConstant {
  std::string_view name;
  std::string_view unit;
  double value;
};

inline constexpr auto named_constants = std::to_array<NamedConstant>({
    {"R", "J/mol/K", 8.314462618},
});

// Accepted by every expression and reference, never declared, never rebound.
inline constexpr auto builtin_names = std::to_array<std::string_view>({"time", "R", "T"});

// Byte for byte: `t` and `r` are ordinary names.
bool is_builtin_name(std::string_view name);

// The named constant called exactly `name`, or null.
const NamedConstant* find_named_constant(std::string_view name);

}  // namespace ovm::sema
