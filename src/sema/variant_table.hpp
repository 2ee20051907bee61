#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "sema/names_of.hpp"

namespace ovm::sema {

// One value of a discriminating statement (a PROCESS `type`, a KINETICS `rate`) and what a
// block with that value must contain.
struct VariantSpec {
  std::string_view name;                     // as it must be written, lower case
  std::span<const std::string_view> required;  // statement keys, in report order
  std::optional<std::uint32_t> min_sources;    // least number of `source` statements
  bool counts_sources = false;                 // sources are counted and their fractions sum to one
};

inline constexpr auto reactant_and_product = std::to_array<std::string_view>({"reactant", "product"});
inline constexpr auto reactant_and_sorbent = std::to_array<std::string_view>({"reactant", "sorbent"});
inline constexpr auto source_and_product = std::to_array<std::string_view>({"source", "product"});
inline constexpr auto both_phases = std::to_array<std::string_view>({"phase_a", "phase_b"});
inline constexpr auto rate_constant_only = std::to_array<std::string_view>({"constant"});
inline constexpr auto constant_and_half_saturation = std::to_array<std::string_view>({"constant", "half_saturation"});

// The process types in lookup order (the PROCESS `type` values list them in another order).
inline constexpr auto process_type_table = std::to_array<VariantSpec>({
    {"reduction", reactant_and_product, std::nullopt, false},
    {"oxidation", reactant_and_product, std::nullopt, false},
    {"dissolution", reactant_and_product, std::nullopt, false},
    {"precipitation", reactant_and_product, std::nullopt, false},
    {"mixing", source_and_product, 2, true},
    {"adsorption", reactant_and_sorbent, std::nullopt, false},
    {"ligand_exchange", reactant_and_product, std::nullopt, false},
    {"uptake", reactant_and_sorbent, std::nullopt, false},
    {"exchange", both_phases, std::nullopt, false},
    {"evaporation", reactant_and_product, std::nullopt, false},
    {"diffusion", reactant_and_product, std::nullopt, false},
});

inline constexpr auto rate_law_table = std::to_array<VariantSpec>({
    {"zero_order", rate_constant_only, std::nullopt, false},
    {"first_order", rate_constant_only, std::nullopt, false},
    {"second_order", rate_constant_only, std::nullopt, false},
    {"monod", constant_and_half_saturation, std::nullopt, false},
});

// The rate-law names in table order: also the admissible values of KINETICS `rate`.
inline constexpr auto rate_law_names = names_of(rate_law_table);

// The record whose name equals `text` byte for byte (no case folding, no trimming), or null.
const VariantSpec* process_type_spec(std::string_view text);
const VariantSpec* rate_law_spec(std::string_view text);

}  // namespace ovm::sema
