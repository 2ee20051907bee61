#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "sema/isotope.hpp"
#include "sema/name_index.hpp"
#include "sema/symbol_table.hpp"

namespace ovm::sema {

// An isotope ratio an ISOTOPES block declares, with the standard its `standard` word names.
struct DeclaredRatio {
  IsotopeRatio ratio;
  std::optional<std::string> standard;
};

// The facts of the whole model that block checks need, gathered before any block is checked,
// so that a fact counts wherever in the file it is written. Only `diagnostics` changes once
// the checks run.
struct ValidationContext {
  diagnostics::Diagnostics diagnostics;
  std::vector<DeclaredRatio> ratios;                              // in file order; lookups take the first match
  std::vector<std::string> standards;                             // names of STANDARD `standard` statements
  std::vector<std::string> scalar_names;                          // parameters and backend values, in declaration order
  // Lookups run per statement, so each list has an index: the first position of each ratio by
  // element and numerator, and of each name.
  NameIndex ratio_index;
  NameIndex standard_index;
  NameIndex scalar_index;
  std::map<std::string, std::string, std::less<>> unit_defaults;  // dimension name to unit text
  bool relative_mode = false;
  bool has_database = false;
  const SymbolTable* symbols = nullptr;  // the resolution's, for the checks that look a name up
};

}  // namespace ovm::sema
