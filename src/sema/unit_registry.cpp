#include "sema/unit_registry.hpp"

#include "diagnostics/text_match.hpp"

namespace ovm::sema {
namespace {

constexpr std::size_t unit_count() {
  std::size_t count = 0;
  for (const DimensionDef& dimension : dimension_table) count += dimension.units.size();
  return count;
}

// A name identifies at most one record: lookups may stop at the first match.
constexpr bool unit_names_unique() {
  for (const DimensionDef& a : dimension_table) {
    for (const UnitDef& x : a.units) {
      std::size_t seen = 0;
      for (const DimensionDef& b : dimension_table) {
        for (const UnitDef& y : b.units) seen += x.name == y.name ? 1 : 0;
      }
      if (seen != 1) return false;
    }
  }
  return true;
}

constexpr bool base_units_come_first() {
  for (const DimensionDef& dimension : dimension_table) {
    if (dimension.units.empty()) return false;
    const UnitDef& first = dimension.units.front();
    if (first.name != dimension.base_unit || first.factor != 1 || first.offset != 0) return false;
  }
  return true;
}

static_assert(unit_count() == 38);
static_assert(unit_names_unique());
static_assert(base_units_come_first());

}  // namespace

std::optional<UnitMatch> unit_lookup(std::string_view name) {
  for (const DimensionDef& dimension : dimension_table) {
    for (const UnitDef& unit : dimension.units) {
      if (diagnostics::same_text(unit.name, name)) return UnitMatch{dimension, unit};
    }
  }
  return std::nullopt;
}

const DimensionDef* dimension_lookup(std::string_view name) {
  for (const DimensionDef& dimension : dimension_table) {
    if (diagnostics::same_text(dimension.name, name)) return &dimension;
  }
  return nullptr;
}

std::vector<std::string_view> units_of_dimension(std::string_view name) {
  std::vector<std::string_view> names;
  const DimensionDef* dimension = dimension_lookup(name);
  if (dimension == nullptr) return names;
  for (const UnitDef& unit : dimension->units) names.push_back(unit.name);
  return names;
}

double to_base(const UnitDef& unit, double value) {
  double scaled = value * unit.factor;
  return scaled + unit.offset;
}

}  // namespace ovm::sema
