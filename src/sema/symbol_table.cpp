#include "sema/symbol_table.hpp"

#include <utility>

namespace ovm::sema {

std::string_view SymbolKind::display_word() const {
  switch (tag) {
    case Tag::Entity: return entity;
    case Tag::Parameter: return "parameter";
    case Tag::BackendValue: return "backend value";
  }
  return entity;
}

bool is_entity_of(const Symbol& symbol, std::string_view entity_kind) {
  return symbol.kind.tag == SymbolKind::Tag::Entity && symbol.kind.entity == entity_kind;
}

std::optional<diagnostics::Span> OrderedSymbols::insert(Symbol symbol) {
  if (const Symbol* earlier = find(symbol.name)) return earlier->span;
  index_.emplace(symbol.name, symbols_.size());
  symbols_.push_back(std::move(symbol));
  return std::nullopt;
}

const Symbol* OrderedSymbols::find(std::string_view name) const {
  auto found = index_.find(name);
  return found == index_.end() ? nullptr : &symbols_[found->second];
}

std::optional<diagnostics::Span> declare_global(SymbolTable& table, Symbol symbol) {
  return table.globals.insert(std::move(symbol));
}

std::optional<diagnostics::Span> declare_local(SymbolTable& table, std::string_view scope, Symbol symbol) {
  auto [place, is_new] = table.scope_index.emplace(std::string(scope), table.locals.size());
  if (is_new) table.locals.emplace_back(std::string(scope), OrderedSymbols{});
  return table.locals[place->second].second.insert(std::move(symbol));
}

const Symbol* lookup_global(const SymbolTable& table, std::string_view name) { return table.globals.find(name); }

const Symbol* lookup_local(const SymbolTable& table, std::string_view scope, std::string_view name) {
  auto place = table.scope_index.find(scope);
  if (place == table.scope_index.end()) return nullptr;
  return table.locals[place->second].second.find(name);
}

const Symbol* lookup(const SymbolTable& table, std::optional<std::string_view> scope, std::string_view name) {
  if (scope) {
    if (const Symbol* local = lookup_local(table, *scope, name)) return local;
  }
  return lookup_global(table, name);
}

}  // namespace ovm::sema
