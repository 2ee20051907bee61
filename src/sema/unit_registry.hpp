#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ovm::sema {

// One unit: a value v written in it is v * factor + offset in its dimension's base unit.
struct UnitDef {
  std::string_view name;  // as the user writes it, matched byte for byte
  double factor = 1;
  double offset = 0;
};

// One dimension; its base unit is always its first unit (factor 1, offset 0).
struct DimensionDef {
  std::string_view name;
  std::string_view base_unit;
  std::span<const UnitDef> units;
};

// Units are declared per dimension, in registry order. The fractional factors are written as
// the divisions they stand for: the compiler rounds each to the nearest double.
inline constexpr auto temperature_units = std::to_array<UnitDef>({
    {"K", 1, 0},
    {"C", 1, 273.15},
    {"F", 5.0 / 9.0, 273.15 - 32.0 * 5.0 / 9.0},
});
inline constexpr auto time_units = std::to_array<UnitDef>({
    {"s", 1, 0},
    {"min", 60, 0},
    {"h", 3600, 0},
    {"d", 86400, 0},
    {"a", 365.25 * 86400, 0},  // the Julian year
});
inline constexpr auto volume_units = std::to_array<UnitDef>({
    {"L", 1, 0},
    {"mL", 1e-3, 0},
    {"m^3", 1000, 0},
});
inline constexpr auto mass_units = std::to_array<UnitDef>({
    {"kg", 1, 0},
    {"g", 1e-3, 0},
    {"mg", 1e-6, 0},
    {"ug", 1e-9, 0},
});
inline constexpr auto amount_units = std::to_array<UnitDef>({
    {"mol", 1, 0},
    {"mmol", 1e-3, 0},
    {"umol", 1e-6, 0},
    {"nmol", 1e-9, 0},
});
inline constexpr auto molality_units = std::to_array<UnitDef>({
    {"mol/kgw", 1, 0},
    {"mmol/kgw", 1e-3, 0},
    {"umol/kgw", 1e-6, 0},
});
inline constexpr auto mass_concentration_units = std::to_array<UnitDef>({
    {"mg/L", 1, 0},
    {"g/L", 1000, 0},
    {"ug/L", 1e-3, 0},
    {"ng/L", 1e-6, 0},
});
inline constexpr auto rate_constant_units = std::to_array<UnitDef>({
    {"1/s", 1, 0},
    {"1/min", 1.0 / 60.0, 0},
    {"1/h", 1.0 / 3600.0, 0},
    {"1/d", 1.0 / 86400.0, 0},
});
inline constexpr auto pressure_units = std::to_array<UnitDef>({
    {"bar", 1, 0},
    {"atm", 1.01325, 0},
    {"Pa", 1e-5, 0},
    {"kPa", 1e-2, 0},
});
inline constexpr auto potential_units = std::to_array<UnitDef>({
    {"mV", 1, 0},
    {"V", 1000, 0},
});
inline constexpr auto delta_units = std::to_array<UnitDef>({{"permil", 1, 0}});
inline constexpr auto dimensionless_units = std::to_array<UnitDef>({{"1", 1, 0}});

// The 12 dimensions in registry order; the order of help texts and of `units_of_dimension`.
inline constexpr auto dimension_table = std::to_array<DimensionDef>({
    {"temperature", "K", temperature_units},
    {"time", "s", time_units},
    {"volume", "L", volume_units},
    {"mass", "kg", mass_units},
    {"amount", "mol", amount_units},
    {"molality", "mol/kgw", molality_units},
    {"mass_concentration", "mg/L", mass_concentration_units},
    {"rate_constant", "1/s", rate_constant_units},
    {"pressure", "bar", pressure_units},
    {"potential", "mV", potential_units},
    {"delta", "permil", delta_units},
    {"dimensionless", "1", dimensionless_units},
});

// A unit together with the dimension that lists it; both live as long as the program.
struct UnitMatch {
  const DimensionDef& dimension;
  const UnitDef& unit;
};

// The unit named exactly `name` (byte for byte, nothing trimmed).
std::optional<UnitMatch> unit_lookup(std::string_view name);

// The same lookup, under the name lowering uses.
inline std::optional<UnitMatch> find_unit(std::string_view name) { return unit_lookup(name); }

// The dimension named exactly `name`, or null.
const DimensionDef* dimension_lookup(std::string_view name);

// The unit names of the named dimension in registry order; empty when no dimension has that name.
std::vector<std::string_view> units_of_dimension(std::string_view name);

// `value` in the base unit: one multiplication, then one addition.
double to_base(const UnitDef& unit, double value);

}  // namespace ovm::sema
