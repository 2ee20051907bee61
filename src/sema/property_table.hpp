#pragma once

// The statement keys of each block kind, in table order. Only the block table reads these
// lists by name; everything else reaches them through a kind's `properties`. They live in a
// namespace of their own so that the enumerators brought in for brevity stay here.

#include <array>
#include <string_view>

#include "sema/property_schema.hpp"
#include "sema/variant_table.hpp"

namespace ovm::sema::property_lists {

using enum PropertyType;
using enum StatementShape;

// Admissible values shared by several keys.
inline constexpr auto isotope_modes = std::to_array<std::string_view>({"absolute", "relative"});
inline constexpr auto process_contexts =
    std::to_array<std::string_view>({"pyrometallurgy", "hydrometallurgy", "natural", "biotic"});
inline constexpr auto process_regimes = std::to_array<std::string_view>({"equilibrium", "kinetic"});
// The suggestion order of PROCESS `type`; the process type table keeps its own order.
inline constexpr auto process_type_values = std::to_array<std::string_view>({
    "reduction", "oxidation", "dissolution", "precipitation", "mixing", "adsorption", "exchange",
    "evaporation", "diffusion", "uptake", "ligand_exchange",
});
inline constexpr auto progress_values = std::to_array<std::string_view>({"time", "extent"});
inline constexpr auto export_formats = std::to_array<std::string_view>({"isof", "csv", "json"});
inline constexpr auto backend_modes = std::to_array<std::string_view>({"oneshot", "series"});
inline constexpr auto identify_modes = std::to_array<std::string_view>({"single", "chain", "rayleigh", "hybrid"});
inline constexpr auto identify_candidates = std::to_array<std::string_view>({
    "reduction", "oxidation", "dissolution", "precipitation", "adsorption", "evaporation", "exchange",
    "diffusion", "mixing", "uptake", "ligand_exchange",
});

// Dimensions a UNITS key may name a unit of.
inline constexpr auto concentration_dimensions = std::to_array<std::string_view>({"molality", "mass_concentration"});
inline constexpr auto time_dimension = std::to_array<std::string_view>({"time"});
inline constexpr auto temperature_dimension = std::to_array<std::string_view>({"temperature"});
inline constexpr auto delta_dimension = std::to_array<std::string_view>({"delta"});
inline constexpr auto volume_dimension = std::to_array<std::string_view>({"volume"});
inline constexpr auto mass_dimension = std::to_array<std::string_view>({"mass"});
inline constexpr auto pressure_dimension = std::to_array<std::string_view>({"pressure"});

inline constexpr auto ratio_modifiers = std::to_array<ModifierSpec>({{"standard", Identifier, false}});
inline constexpr auto standard_modifiers = std::to_array<ModifierSpec>({{"ratio", Ratio, true}, {"uncertainty", Number, false}});
inline constexpr auto export_modifiers = std::to_array<ModifierSpec>({{"to", Identifier, true}});

inline constexpr auto meta_properties = std::to_array<PropertySpec>({
    {.key = "author", .value_type = Text},
    {.key = "date", .value_type = Date},
    {.key = "version", .value_type = Version},
    {.key = "language", .value_type = Version, .recommended = true},
    {.key = "description", .value_type = String},
    {.key = "license", .value_type = Text},
    {.key = "reference", .value_type = Text},
});

inline constexpr auto database_properties = std::to_array<PropertySpec>({
    {.key = "file", .value_type = Path, .required = true},
});

inline constexpr auto units_properties = std::to_array<PropertySpec>({
    {.key = "concentration", .value_type = Identifier, .admissible_dimensions = concentration_dimensions},
    {.key = "time", .value_type = Identifier, .admissible_dimensions = time_dimension},
    {.key = "temperature", .value_type = Identifier, .admissible_dimensions = temperature_dimension},
    {.key = "delta", .value_type = Identifier, .admissible_dimensions = delta_dimension},
    {.key = "volume", .value_type = Identifier, .admissible_dimensions = volume_dimension},
    {.key = "mass", .value_type = Identifier, .admissible_dimensions = mass_dimension},
    {.key = "pressure", .value_type = Identifier, .admissible_dimensions = pressure_dimension},
});

inline constexpr auto species_properties = std::to_array<PropertySpec>({
    {.key = "species", .value_type = Species, .required = true},
});

inline constexpr auto isotopes_properties = std::to_array<PropertySpec>({
    {.key = "mode", .value_type = Enum, .admissible_values = isotope_modes, .default_value = "absolute"},
    {.key = "ratio", .value_type = Ratio, .modifiers = ratio_modifiers, .required = true},
});

inline constexpr auto reservoir_properties = std::to_array<PropertySpec>({
    {.key = "volume", .value_type = Number, .dimension = "volume"},
    {.key = "mass", .value_type = Number, .dimension = "mass"},
    {.key = "temperature", .value_type = Number, .dimension = "temperature"},
});

inline constexpr auto process_properties = std::to_array<PropertySpec>({
    {.key = "type", .value_type = Enum, .admissible_values = process_type_values, .required = true},
    {.key = "from", .shape = Reference, .reference_kind = "Reservoir"},
    {.key = "into", .shape = Reference, .reference_kind = "Reservoir"},
    {.key = "extent", .value_type = Number, .dimension = "dimensionless", .min = 0.0, .max = 1.0, .evaluated = true},
    {.key = "context", .value_type = Enum, .admissible_values = process_contexts},
    {.key = "regime", .value_type = Enum, .admissible_values = process_regimes},
    {.key = "reactant", .shape = Reference, .reference_kind = "Species"},
    {.key = "product", .shape = Reference, .reference_kind = "any"},
    {.key = "source", .value_type = Number, .shape = NamedNumber, .reference_kind = "Reservoir"},
    {.key = "sorbent", .shape = Reference, .reference_kind = "Species"},
    {.key = "phase_a", .shape = Reference, .reference_kind = "Species"},
    {.key = "phase_b", .shape = Reference, .reference_kind = "Species"},
    {.key = "location", .shape = Reference, .reference_kind = "Reservoir"},
    {.key = "law", .shape = Reference, .reference_kind = "Law"},
});

inline constexpr auto fractionation_properties = std::to_array<PropertySpec>({
    {.key = "isotope", .value_type = Ratio, .required = true},
    {.key = "alpha", .value_type = Number, .dimension = "dimensionless", .group = "mode"},
    {.key = "epsilon", .value_type = Number, .dimension = "delta", .group = "mode"},
    {.key = "law", .shape = Law, .group = "mode"},
    {.key = "law_file", .label = "law file", .value_type = Path, .group = "mode"},
    {.key = "phase", .value_type = Number, .dimension = "delta"},
});

inline constexpr auto kinetics_properties = std::to_array<PropertySpec>({
    {.key = "rate", .value_type = Enum, .admissible_values = rate_law_names, .required = true},
    {.key = "constant", .value_type = Number, .dimension = "rate_constant", .evaluated = true},
    {.key = "half_saturation", .value_type = Number, .dimension = "molality", .evaluated = true},
});

inline constexpr auto model_properties = std::to_array<PropertySpec>({
    {.key = "reservoirs", .shape = List, .reference_kind = "Reservoir", .default_value = "all"},
    {.key = "processes", .shape = List, .reference_kind = "Process", .default_value = "all"},
    {.key = "step", .value_type = Number, .dimension = "time"},
    {.key = "progress", .value_type = Enum, .admissible_values = progress_values, .default_value = "time"},
    {.key = "until", .shape = Condition},
});

inline constexpr auto output_properties = std::to_array<PropertySpec>({
    {.key = "variable", .shape = Reference, .reference_kind = "any", .required = true},
    {.key = "every", .value_type = Number, .dimension = "time"},
});

inline constexpr auto export_properties = std::to_array<PropertySpec>({
    {.key = "format", .value_type = Enum, .admissible_values = export_formats, .required = true},
    {.key = "file", .value_type = Path, .required = true},
});

inline constexpr auto standard_properties = std::to_array<PropertySpec>({
    {.key = "standard", .value_type = Number, .shape = NamedNumber, .modifiers = standard_modifiers},
});

inline constexpr auto conditions_properties = std::to_array<PropertySpec>({
    {.key = "temperature", .value_type = Number, .dimension = "temperature"},
    {.key = "pressure", .value_type = Number, .dimension = "pressure"},
    {.key = "pH", .value_type = Number, .dimension = "dimensionless"},
    {.key = "Eh", .value_type = Number, .dimension = "potential"},
    {.key = "ionic_strength", .value_type = Number, .dimension = "molality"},
});

inline constexpr auto phreeqc_properties = std::to_array<PropertySpec>({
    {.key = "input_file", .label = "input file", .value_type = Path, .required = true},
    {.key = "database", .value_type = Path},
    {.key = "mode", .value_type = Enum, .admissible_values = backend_modes, .default_value = "oneshot"},
    {.key = "export", .value_type = String, .modifiers = export_modifiers},
});

inline constexpr auto rayleigh_properties = std::to_array<PropertySpec>({
    {.key = "reservoir", .shape = Reference, .reference_kind = "Reservoir", .required = true},
    {.key = "isotope", .value_type = Ratio, .required = true},
    {.key = "reactant", .shape = Reference, .reference_kind = "Species", .required = true},
    {.key = "product", .shape = Reference, .reference_kind = "Species", .required = true},
    {.key = "alpha", .value_type = Number, .dimension = "dimensionless", .group = "mode"},
    {.key = "epsilon", .value_type = Number, .dimension = "delta", .group = "mode"},
    {.key = "extent", .value_type = Number, .dimension = "dimensionless", .min = 0.0, .max = 1.0},
});

inline constexpr auto adsorption_properties = std::to_array<PropertySpec>({
    {.key = "sorbent", .shape = Reference, .reference_kind = "Species", .required = true},
    {.key = "reactant", .shape = Reference, .reference_kind = "Species", .required = true},
    {.key = "isotope", .value_type = Ratio, .required = true},
    {.key = "alpha", .value_type = Number, .dimension = "dimensionless", .group = "mode"},
    {.key = "epsilon", .value_type = Number, .dimension = "delta", .group = "mode"},
    {.key = "extent", .value_type = Number, .dimension = "dimensionless", .min = 0.0, .max = 1.0},
    {.key = "regime", .value_type = Enum, .admissible_values = process_regimes},
});

// Unlike the other kinds, an EXCHANGE `alpha` is free text.
inline constexpr auto exchange_properties = std::to_array<PropertySpec>({
    {.key = "phase_a", .shape = Reference, .reference_kind = "Species", .required = true},
    {.key = "phase_b", .shape = Reference, .reference_kind = "Species", .required = true},
    {.key = "isotope", .value_type = Ratio, .required = true},
    {.key = "alpha", .value_type = Text, .group = "mode"},
    {.key = "epsilon", .value_type = Number, .dimension = "delta", .group = "mode"},
    {.key = "extent", .value_type = Number, .dimension = "dimensionless", .min = 0.0, .max = 1.0},
    {.key = "regime", .value_type = Enum, .admissible_values = process_regimes},
});

inline constexpr auto sample_properties = std::to_array<PropertySpec>({
    {.key = "element", .value_type = Identifier, .required = true},
    {.key = "uncertainty", .value_type = Number, .dimension = "delta"},
    {.key = "material", .value_type = Text},
    {.key = "note", .value_type = String},
    {.key = "series", .value_type = Number, .shape = List},
});

inline constexpr auto identify_properties = std::to_array<PropertySpec>({
    {.key = "source", .shape = Reference, .reference_kind = "Sample", .required = true},
    {.key = "product", .shape = Reference, .reference_kind = "Sample", .required = true},
    {.key = "mode", .value_type = Enum, .admissible_values = identify_modes, .required = true},
    {.key = "candidates", .value_type = Enum, .shape = List, .admissible_values = identify_candidates,
     .default_value = "all"},
    {.key = "context", .value_type = Enum, .admissible_values = process_contexts},
    {.key = "regime", .value_type = Enum, .admissible_values = process_regimes},
    {.key = "max_chain", .value_type = Number, .dimension = "dimensionless"},
    {.key = "tolerance", .value_type = Number, .dimension = "delta"},
    {.key = "top", .value_type = Number, .dimension = "dimensionless"},
    {.key = "extent", .value_type = Number, .dimension = "dimensionless", .min = 0.0, .max = 1.0},
});

}  // namespace ovm::sema::property_lists
