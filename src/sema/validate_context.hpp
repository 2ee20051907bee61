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

// A parameter's definition, an assignment statement, with what it is found by: the name of its
// statement, and of the block that owns it, when one does. 16 bytes: everything else is read
// from the tree.
struct KeyedDefinition {
  const syntax::Block* owner = nullptr;  // null for PARAMETERS
  const syntax::Statement* statement = nullptr;

  std::string_view scope() const { return owner != nullptr ? owner->name()->text : std::string_view{}; }
  std::string_view name() const { return owner != nullptr ? statement->assignment()->target->text : statement->key().text(); }
  // What the parameter is set to, as written: `k = 0.05 1/d` gives the expression 0.05 and the
  // unit 1/d (null without one).
  const syntax::AssignmentBody& assignment() const { return *statement->assignment(); }
};

// The facts of the whole model that block checks need, gathered before any block is checked,
// so that a fact counts wherever in the file it is written. Only `diagnostics` changes once
// the checks run.
struct ValidationContext {
  diagnostics::Diagnostics diagnostics;
  std::vector<DeclaredRatio> ratios;                              // in file order; lookups take the first match
  // Slices of the source text.
  std::vector<std::string_view> standards;  // names of STANDARD `standard` statements
  // Lookups run per statement, so each list has an index: the first position of each ratio by
  // element and numerator, and of each name.
  NameIndex ratio_index;
  NameIndex standard_index;
  std::map<std::string, std::string, std::less<>> unit_defaults;  // dimension name to unit text
  // Found by the owning block's name (none for PARAMETERS) and the parameter's name; a later
  // definition replaces an earlier one, as lowering reads them.
  std::vector<KeyedDefinition> parameter_definitions;
  NameIndex parameter_index;
  bool relative_mode = false;
  bool has_database = false;
  // The model and its names, for the few checks that look at another block (a stop condition
  // reads a reservoir's species line).
  const syntax::ParseOutput* tree = nullptr;
  const SymbolTable* symbols = nullptr;
};

}  // namespace ovm::sema
