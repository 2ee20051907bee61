#include "sema/unit_registry.hpp"

#include <cstddef>
#include <cstdint>

#include "diagnostics/text_match.hpp"
#include "sema/size_index.hpp"

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

// Every unit of the registry, in registry order, by its dimension and its place there.
struct UnitPlace {
  std::uint8_t dimension = 0;
  std::uint8_t unit = 0;
};

constexpr auto unit_places = [] {
  std::array<UnitPlace, unit_count()> places{};
  std::size_t next = 0;
  for (std::size_t d = 0; d < dimension_table.size(); ++d) {
    for (std::size_t u = 0; u < dimension_table[d].units.size(); ++u) {
      places[next++] = UnitPlace{static_cast<std::uint8_t>(d), static_cast<std::uint8_t>(u)};
    }
  }
  return places;
}();

constexpr const UnitDef& unit_at(UnitPlace place) { return dimension_table[place.dimension].units[place.unit]; }

// Units are looked up for most statements: a lookup compares with the names of its size only.
constexpr auto units_by_size = index_by_size<31>([] {
  std::array<std::string_view, unit_count()> names{};
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = unit_at(unit_places[i]).name;
  return names;
}());

}  // namespace

std::optional<UnitMatch> unit_lookup(std::string_view name) {
  // Names are unique, so the first match is the only one.
  for (std::uint8_t i : units_by_size.of_size(name.size())) {
    const UnitDef& unit = unit_at(unit_places[i]);
    if (diagnostics::same_text(unit.name, name)) return UnitMatch{dimension_table[unit_places[i].dimension], unit};
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
