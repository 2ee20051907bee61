#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/span.hpp"
#include "sema/name_index.hpp"

namespace ovm::sema {

// What a declared name stands for.
struct SymbolKind {
  enum class Tag : std::uint8_t { Entity, Parameter, BackendValue };
  Tag tag = Tag::Entity;
  std::string_view entity;  // for Entity: the declaring kind's entity kind (`Reservoir`, ...)

  // The word messages use: the entity kind itself, "parameter" or "backend value".
  std::string_view display_word() const;
};

// Names are slices of the source text, which must outlive the table.
struct Symbol {
  SymbolKind kind;
  std::string_view name;
  diagnostics::Span span;  // the declaring identifier
};

// True for an entity whose kind text is exactly `entity_kind`.
bool is_entity_of(const Symbol& symbol, std::string_view entity_kind);

// A name-keyed map that iterates in the order of first insertion; entries are never removed.
class OrderedSymbols {
 public:
  // Appends the symbol when its name is new; otherwise keeps the earlier symbol and returns
  // its span.
  std::optional<diagnostics::Span> insert(Symbol symbol);
  const Symbol* find(std::string_view name) const;
  const std::vector<Symbol>& in_order() const { return symbols_; }
  // Room for `count` symbols: a large model then neither copies its symbols nor rehashes them.
  void reserve(std::size_t count);

 private:
  std::vector<Symbol> symbols_;
  NameIndex index_;  // positions in `symbols_`
};

// The one global namespace and the block-local scopes (keyed by the declaring block's name).
// Declare only through `declare_global` and `declare_local`, which keep the scope index.
struct SymbolTable {
  OrderedSymbols globals;
  std::vector<std::pair<std::string, OrderedSymbols>> locals;  // scopes in order of first use
  NameIndex scope_index;                                       // positions in `locals`
};

std::optional<diagnostics::Span> declare_global(SymbolTable& table, Symbol symbol);
std::optional<diagnostics::Span> declare_local(SymbolTable& table, std::string_view scope, Symbol symbol);
const Symbol* lookup_global(const SymbolTable& table, std::string_view name);
const Symbol* lookup_local(const SymbolTable& table, std::string_view scope, std::string_view name);
// A local of the scope hides a global of the same name.
const Symbol* lookup(const SymbolTable& table, std::optional<std::string_view> scope, std::string_view name);

}  // namespace ovm::sema
