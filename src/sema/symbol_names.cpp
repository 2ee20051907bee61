#include "sema/symbol_names.hpp"

namespace ovm::sema {

std::vector<std::string_view> global_names(const SymbolTable& table) {
  std::vector<std::string_view> names;
  for (const Symbol& symbol : table.globals.in_order()) names.push_back(symbol.name());
  return names;
}

std::vector<std::string_view> entity_names(const SymbolTable& table, std::string_view kind) {
  std::vector<std::string_view> names;
  for (const Symbol& symbol : table.globals.in_order()) {
    if (is_entity_of(symbol, kind)) names.push_back(symbol.name());
  }
  return names;
}

}  // namespace ovm::sema
