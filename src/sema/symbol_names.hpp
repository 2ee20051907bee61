#pragma once

#include <string_view>
#include <vector>

#include "sema/symbol_table.hpp"

namespace ovm::sema {

// Candidate lists for suggestions, in declaration order. The views point into the table.

// Every global name, whatever its kind: for a name that may be of any kind.
std::vector<std::string_view> global_names(const SymbolTable& table);

// The global entities whose kind text is exactly `kind`.
std::vector<std::string_view> entity_names(const SymbolTable& table, std::string_view kind);

}  // namespace ovm::sema
