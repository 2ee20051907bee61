#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "diagnostics/span.hpp"
#include "sema/name_index.hpp"

namespace ovm::sema {

struct BlockSpec;

// What a declared name stands for. Two bytes: a model declares tens of thousands of names, and
// the entity kind is always one that a block kind declares.
class SymbolKind {
 public:
  enum class Tag : std::uint8_t { Entity, Parameter, BackendValue };

  SymbolKind() = default;
  // `entity`: for Entity, an entity kind some block kind declares (`Reservoir`, ...).
  SymbolKind(Tag tag, std::string_view entity);
  // An entity of the kind `declaring` (a record of the block table) declares.
  explicit SymbolKind(const BlockSpec& declaring);

  Tag tag = Tag::Entity;

  // For Entity: the declaring kind's entity kind; otherwise empty.
  std::string_view entity() const;
  // The word messages use: the entity kind itself, "parameter" or "backend value".
  std::string_view display_word() const;

 private:
  static constexpr std::uint8_t no_kind = 0xFF;
  std::uint8_t declaring_kind_ = no_kind;  // the declaring kind's place in the block table
};

// Names are slices of the source text, which must outlive the table. A name is the text under
// its span, so its start is enough to hold it, as the tree holds its texts: 24 bytes.
class Symbol {
 public:
  Symbol() = default;
  // `name` is the text under `span`, so as long as the span.
  Symbol(SymbolKind kind, std::string_view name, diagnostics::Span span);

  std::string_view name() const { return {name_start_, span.end - span.start}; }

  diagnostics::Span span;  // the declaring identifier
  SymbolKind kind;

 private:
  const char* name_start_ = "";
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

// A local symbol with the scope that holds it.
struct LocalSymbol {
  std::string_view scope;  // a slice of the source text, like the name
  Symbol symbol;
};

// Every block-local symbol of a model in one list, found by scope and name together: a scope
// of its own for each block would cost a few allocations per block.
class LocalSymbols {
 public:
  // As OrderedSymbols::insert, within the scope.
  std::optional<diagnostics::Span> insert(std::string_view scope, Symbol symbol);
  const Symbol* find(std::string_view scope, std::string_view name) const;
  // In order of declaration, whatever their scopes.
  const std::vector<LocalSymbol>& in_order() const { return symbols_; }

 private:
  std::vector<LocalSymbol> symbols_;
  NameIndex index_;  // positions in `symbols_`
};

// The one global namespace and the block-local scopes (keyed by the declaring block's name).
struct SymbolTable {
  OrderedSymbols globals;
  LocalSymbols locals;
};

std::optional<diagnostics::Span> declare_global(SymbolTable& table, Symbol symbol);
// `scope` is a slice of the source text, like the symbol's name.
std::optional<diagnostics::Span> declare_local(SymbolTable& table, std::string_view scope, Symbol symbol);
const Symbol* lookup_global(const SymbolTable& table, std::string_view name);
const Symbol* lookup_local(const SymbolTable& table, std::string_view scope, std::string_view name);
// A local of the scope hides a global of the same name.
const Symbol* lookup(const SymbolTable& table, std::optional<std::string_view> scope, std::string_view name);

}  // namespace ovm::sema
