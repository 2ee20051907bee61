#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "sema/isotope.hpp"
#include "sema/name_index.hpp"
#include "sema/scoped_name.hpp"
#include "sema/symbol_table.hpp"
#include "syntax/expr.hpp"
#include "syntax/tree.hpp"
#include "syntax/unit_expr.hpp"

namespace ovm::sema {

// An isotope ratio an ISOTOPES block declares, with the standard its `standard` word names.
struct DeclaredRatio {
  IsotopeRatio ratio;
  std::optional<std::string> standard;
  std::string_view notation;  // as written, which is how lowering finds the isotope system
};

// What a parameter is set to, as written: `k = 0.05 1/d` gives the expression 0.05 and the
// unit 1/d (null without one).
struct ParameterDefinition {
  const syntax::SyntaxExpr* expression = nullptr;
  const syntax::UnitExpr* unit = nullptr;
};

// The facts of the whole model that block checks need, gathered before any block is checked,
// so that a fact counts wherever in the file it is written. Only `diagnostics` changes once
// the checks run.
struct ValidationContext {
  diagnostics::Diagnostics diagnostics;
  std::vector<DeclaredRatio> ratios;                              // in file order; lookups take the first match
  // Slices of the source text.
  std::vector<std::string_view> standards;     // names of STANDARD `standard` statements
  std::vector<std::string_view> scalar_names;  // parameters and backend values, in declaration order
  // Lookups run per statement, so each list has an index: the first position of each ratio by
  // element and numerator, and of each name.
  NameIndex ratio_index;
  NameIndex standard_index;
  NameIndex scalar_index;
  std::map<std::string, std::string, std::less<>> unit_defaults;  // dimension name to unit text
  // Keyed by the owning block's name (none for PARAMETERS) and the parameter's name; a later
  // definition replaces an earlier one, as lowering reads them.
  ScopedNameMap<ParameterDefinition> parameter_definitions;
  bool relative_mode = false;
  bool has_database = false;
  // The model and its names, for the few checks that look at another block (a stop condition
  // reads a reservoir's species line).
  const syntax::ParseOutput* tree = nullptr;
  const SymbolTable* symbols = nullptr;
};

}  // namespace ovm::sema
