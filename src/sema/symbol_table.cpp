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
  std::uint32_t hash = NameIndex::hash(symbol.name);
  auto is_match = [&](std::size_t at) { return symbols_[at].name == symbol.name; };
  if (std::optional<std::size_t> earlier = index_.find(hash, is_match)) return symbols_[*earlier].span;
  index_.add(hash, symbols_.size());
  symbols_.push_back(std::move(symbol));
  return std::nullopt;
}

void OrderedSymbols::reserve(std::size_t count) {
  symbols_.reserve(count);
  index_.reserve(count);
}

const Symbol* OrderedSymbols::find(std::string_view name) const {
  auto is_match = [&](std::size_t at) { return symbols_[at].name == name; };
  std::optional<std::size_t> found = index_.find(NameIndex::hash(name), is_match);
  return found ? &symbols_[*found] : nullptr;
}

namespace {

std::optional<std::size_t> find_scope(const SymbolTable& table, std::uint32_t hash, std::string_view scope) {
  return table.scope_index.find(hash, [&](std::size_t at) { return table.locals[at].first == scope; });
}

}  // namespace

std::optional<diagnostics::Span> declare_global(SymbolTable& table, Symbol symbol) {
  return table.globals.insert(std::move(symbol));
}

std::optional<diagnostics::Span> declare_local(SymbolTable& table, std::string_view scope, Symbol symbol) {
  std::uint32_t hash = NameIndex::hash(scope);
  std::optional<std::size_t> place = find_scope(table, hash, scope);
  if (!place) {
    place = table.locals.size();
    table.scope_index.add(hash, *place);
    table.locals.emplace_back(std::string(scope), OrderedSymbols{});
  }
  return table.locals[*place].second.insert(std::move(symbol));
}

const Symbol* lookup_global(const SymbolTable& table, std::string_view name) { return table.globals.find(name); }

const Symbol* lookup_local(const SymbolTable& table, std::string_view scope, std::string_view name) {
  if (table.locals.empty()) return nullptr;
  std::optional<std::size_t> place = find_scope(table, NameIndex::hash(scope), scope);
  if (!place) return nullptr;
  return table.locals[*place].second.find(name);
}

const Symbol* lookup(const SymbolTable& table, std::optional<std::string_view> scope, std::string_view name) {
  if (scope) {
    if (const Symbol* local = lookup_local(table, *scope, name)) return local;
  }
  return lookup_global(table, name);
}

}  // namespace ovm::sema
