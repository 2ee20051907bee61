#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ovm::engine {

// One reference standard of an isotope database file.
struct DatabaseStandard {
  std::string name;
  std::string ratio;  // as written in the file, compared byte for byte with a notation
  double value = 0;   // the absolute isotope ratio
  std::optional<double> uncertainty;
  std::string source;  // "<citation> (<database name>)"

  friend bool operator==(const DatabaseStandard&, const DatabaseStandard&) = default;
};

using NumberRange = std::pair<double, double>;  // (low, high) as written, never sorted

// One fractionation factor of an isotope database file.
struct FractionationEntry {
  std::string ratio;
  std::string process;
  std::string citation;
  std::string database_name;
  std::optional<std::string> reactant;
  std::optional<std::string> product;
  std::optional<std::string> regime;
  std::optional<std::string> context;
  double alpha = 1;
  std::optional<NumberRange> temperature_range;  // kelvin
  std::optional<NumberRange> ph_range;

  friend bool operator==(const FractionationEntry&, const FractionationEntry&) = default;
};

// Everything the databases of one run supply, in load order; read-only once loaded.
struct DatabaseSet {
  std::vector<DatabaseStandard> standards;
  std::vector<FractionationEntry> fractionations;
};

// Every error of database loading carries this code.
inline constexpr const char* database_error_code = "OV105";

}  // namespace ovm::engine
