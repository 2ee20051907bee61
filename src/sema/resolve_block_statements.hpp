#pragma once

#include <optional>
#include <string_view>

#include "diagnostics/diagnostic.hpp"
#include "sema/block_schema.hpp"
#include "sema/symbol_table.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// Checks the names one statement uses (and, for a nested body, its nested statements): the
// references its property expects and the names in its expressions. `scope` is the name of
// the block, whose local parameters the expressions see. Declares nothing.
void resolve_block_statements(const SymbolTable& symbols, diagnostics::Diagnostics& out, const BlockSpec& kind,
                              std::optional<std::string_view> scope, const syntax::Statement& statement);

}  // namespace ovm::sema
