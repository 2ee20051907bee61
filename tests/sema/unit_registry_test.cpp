#include "sema/unit_registry.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace ovm::sema {
namespace {

// One unit as the registry's table lists it; factor and offset are the table's decimal texts,
// the shortest that read back to the stored doubles.
struct UnitRow {
  std::string_view dimension;
  std::string_view unit;
  const char* factor;
  const char* offset;
};

const std::vector<UnitRow> expected_units = {
    {"temperature", "K", "1", "0"},
    {"temperature", "C", "1", "273.15"},
    {"temperature", "F", "0.5555555555555556", "255.3722222222222"},
    {"time", "s", "1", "0"},
    {"time", "min", "60", "0"},
    {"time", "h", "3600", "0"},
    {"time", "d", "86400", "0"},
    {"time", "a", "31557600", "0"},
    {"volume", "L", "1", "0"},
    {"volume", "mL", "0.001", "0"},
    {"volume", "m^3", "1000", "0"},
    {"mass", "kg", "1", "0"},
    {"mass", "g", "0.001", "0"},
    {"mass", "mg", "1e-06", "0"},
    {"mass", "ug", "1e-09", "0"},
    {"amount", "mol", "1", "0"},
    {"amount", "mmol", "0.001", "0"},
    {"amount", "umol", "1e-06", "0"},
    {"amount", "nmol", "1e-09", "0"},
    {"molality", "mol/kgw", "1", "0"},
    {"molality", "mmol/kgw", "0.001", "0"},
    {"molality", "umol/kgw", "1e-06", "0"},
    {"mass_concentration", "mg/L", "1", "0"},
    {"mass_concentration", "g/L", "1000", "0"},
    {"mass_concentration", "ug/L", "0.001", "0"},
    {"mass_concentration", "ng/L", "1e-06", "0"},
    {"rate_constant", "1/s", "1", "0"},
    {"rate_constant", "1/min", "0.016666666666666666", "0"},
    {"rate_constant", "1/h", "0.0002777777777777778", "0"},
    {"rate_constant", "1/d", "1.1574074074074073e-05", "0"},
    {"pressure", "bar", "1", "0"},
    {"pressure", "atm", "1.01325", "0"},
    {"pressure", "Pa", "1e-05", "0"},
    {"pressure", "kPa", "0.01", "0"},
    {"potential", "mV", "1", "0"},
    {"potential", "V", "1000", "0"},
    {"delta", "permil", "1", "0"},
    {"dimensionless", "1", "1", "0"},
};

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }
std::uint64_t bits(const char* decimal) { return bits(std::strtod(decimal, nullptr)); }

TEST(UnitRegistryTest, ThirtyEightUnitsInRegistryOrderToTheBit) {
  std::size_t next = 0;
  for (const DimensionDef& dimension : dimension_table) {
    for (const UnitDef& unit : dimension.units) {
      ASSERT_LT(next, expected_units.size());
      const UnitRow& row = expected_units[next++];
      SCOPED_TRACE(row.unit);
      EXPECT_EQ(dimension.name, row.dimension);
      EXPECT_EQ(unit.name, row.unit);
      EXPECT_EQ(bits(unit.factor), bits(row.factor));
      EXPECT_EQ(bits(unit.offset), bits(row.offset));
    }
  }
  EXPECT_EQ(next, 38u);
}

TEST(UnitRegistryTest, FractionalFactorsAreTheNearestDoubles) {
  // Bit patterns of the doubles nearest to 5/9, 1/60, 1/3600 and 1/86400.
  EXPECT_EQ(bits(unit_lookup("F")->unit.factor), 0x3FE1C71C71C71C72u);
  EXPECT_EQ(bits(unit_lookup("1/min")->unit.factor), 0x3F91111111111111u);
  EXPECT_EQ(bits(unit_lookup("1/h")->unit.factor), 0x3F323456789ABCDFu);
  EXPECT_EQ(bits(unit_lookup("1/d")->unit.factor), 0x3EE845C8A0CE5129u);
  // The Fahrenheit offset is 273.15 - 32 * 5/9 in double arithmetic.
  EXPECT_EQ(bits(unit_lookup("F")->unit.offset), 0x406FEBE93E93E93Eu);
}

TEST(UnitRegistryTest, DimensionsAndBaseUnits) {
  const std::vector<std::pair<std::string_view, std::string_view>> dimensions = {
      {"temperature", "K"},     {"time", "s"},          {"volume", "L"},
      {"mass", "kg"},           {"amount", "mol"},      {"molality", "mol/kgw"},
      {"mass_concentration", "mg/L"}, {"rate_constant", "1/s"}, {"pressure", "bar"},
      {"potential", "mV"},      {"delta", "permil"},    {"dimensionless", "1"},
  };
  ASSERT_EQ(dimension_table.size(), dimensions.size());
  std::size_t single = 0;
  for (std::size_t i = 0; i < dimensions.size(); ++i) {
    EXPECT_EQ(dimension_table[i].name, dimensions[i].first);
    EXPECT_EQ(dimension_table[i].base_unit, dimensions[i].second);
    if (dimension_table[i].units.size() == 1) ++single;
  }
  // Only delta and dimensionless may be written without a unit on that ground.
  EXPECT_EQ(single, 2u);
}

TEST(UnitRegistryTest, ConversionIsFactorThenOffset) {
  struct Case {
    std::string_view unit;
    double value;
    double base;
  };
  const std::vector<Case> cases = {
      {"C", 25, 298.15},   {"C", 0, 273.15},       {"F", 32, 273.15},  {"F", 212, 373.15},
      {"K", 300, 300},     {"a", 1, 31557600},     {"h", 2, 7200},     {"m^3", 1, 1000},
      {"g/L", 1, 1000},    {"ng/L", 1, 1e-06},     {"mmol/kgw", 5, 0.005},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.unit) + " " + std::to_string(c.value));
    std::optional<UnitMatch> match = unit_lookup(c.unit);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(to_base(match->unit, c.value), c.base);
  }
}

TEST(UnitLookupTest, NamesMatchByteForByte) {
  struct Case {
    std::string_view name;
    std::optional<std::string_view> dimension;
  };
  const std::vector<Case> cases = {
      {"C", "temperature"},      {"permil", "delta"}, {"1", "dimensionless"}, {"mmol/kgw", "molality"},
      {"m^3", "volume"},         {"ug/L", "mass_concentration"},              {"V", "potential"},
      {"k", std::nullopt},       {"Kg", std::nullopt}, {"m3", std::nullopt},  {"kgw", std::nullopt},
      {"", std::nullopt},        {"ML", std::nullopt}, {"c", std::nullopt},   {"mg/l", std::nullopt},
      {" mg/L", std::nullopt},   {"mg / L", std::nullopt}, {"\xC2\xB5g", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<UnitMatch> match = unit_lookup(c.name);
    ASSERT_EQ(match.has_value(), c.dimension.has_value());
    if (!match) continue;
    EXPECT_EQ(match->unit.name, c.name);
    EXPECT_EQ(match->dimension.name, *c.dimension);
    EXPECT_EQ(&find_unit(c.name)->unit, &match->unit);
  }
}

TEST(UnitLookupTest, ReturnsTheRegistryRecords) {
  std::optional<UnitMatch> match = unit_lookup("atm");
  ASSERT_TRUE(match.has_value());
  EXPECT_EQ(&match->dimension, &dimension_table[8]);
  EXPECT_EQ(&match->unit, &pressure_units[1]);
}

// Every unit of every dimension finds its own record; a name one byte longer, or longer than
// every unit name, finds none.
TEST(UnitLookupTest, FindsEveryRegistryUnit) {
  for (const DimensionDef& dimension : dimension_table) {
    for (const UnitDef& unit : dimension.units) {
      SCOPED_TRACE(std::string(unit.name));
      std::optional<UnitMatch> match = unit_lookup(unit.name);
      ASSERT_TRUE(match.has_value());
      EXPECT_EQ(&match->unit, &unit);
      EXPECT_EQ(&match->dimension, &dimension);
      EXPECT_FALSE(unit_lookup(std::string(unit.name) + "x").has_value());
    }
  }
  EXPECT_FALSE(unit_lookup(std::string(40, 'm')).has_value());
}

TEST(DimensionLookupTest, NamesMatchByteForByte) {
  const DimensionDef* mass_concentration = dimension_lookup("mass_concentration");
  ASSERT_NE(mass_concentration, nullptr);
  EXPECT_EQ(mass_concentration, &dimension_table[6]);
  for (std::string_view name : {"Mass", "concentration", "Temperature", "", "mass ", "K"}) {
    EXPECT_EQ(dimension_lookup(name), nullptr) << "'" << name << "'";
  }
}

TEST(UnitsOfDimensionTest, RegistryOrderOrEmpty) {
  using Names = std::vector<std::string_view>;
  EXPECT_EQ(units_of_dimension("molality"), (Names{"mol/kgw", "mmol/kgw", "umol/kgw"}));
  EXPECT_EQ(units_of_dimension("pressure"), (Names{"bar", "atm", "Pa", "kPa"}));
  EXPECT_EQ(units_of_dimension("temperature"), (Names{"K", "C", "F"}));
  EXPECT_EQ(units_of_dimension("delta"), (Names{"permil"}));
  EXPECT_TRUE(units_of_dimension("concentration").empty());
  EXPECT_TRUE(units_of_dimension("Pressure").empty());
  EXPECT_TRUE(units_of_dimension("").empty());
}

}  // namespace
}  // namespace ovm::sema
