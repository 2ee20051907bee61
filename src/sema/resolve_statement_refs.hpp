#pragma once

#include <string_view>

#include "diagnostics/diagnostic.hpp"
#include "sema/symbol_table.hpp"
#include "syntax/value.hpp"

namespace ovm::sema {

// Checks one reference value against the entity kind its statement expects (`any` accepts a
// global of every kind). Only identifiers are examined; block-local names never count.
void resolve_statement_refs(const SymbolTable& symbols, diagnostics::Diagnostics& out, std::string_view kind,
                            const syntax::Value& value);

}  // namespace ovm::sema
