#include "sema/symbol_table.hpp"

#include <functional>

#include "diagnostics/internal_error.hpp"
#include "sema/block_table.hpp"
#include "sema/scoped_name.hpp"

namespace ovm::sema {

static_assert(sizeof(Symbol) == 24, "a model holds tens of thousands of symbols");
static_assert(block_table.size() < 0xFF, "a kind's place fits SymbolKind's byte");

SymbolKind::SymbolKind(Tag tag, std::string_view entity) : tag(tag) {
  if (tag != Tag::Entity) return;
  for (std::size_t place = 0; place < block_table.size(); ++place) {
    if (block_table[place].declares == entity) {
      declaring_kind_ = static_cast<std::uint8_t>(place);
      return;
    }
  }
  diagnostics::internal_error("a symbol names an entity kind that no block kind declares");
}

SymbolKind::SymbolKind(const BlockSpec& declaring) {
  const BlockSpec* first = block_table.data();
  std::less<const BlockSpec*> before;  // a total order over pointers into different arrays
  if (before(&declaring, first) || !before(&declaring, first + block_table.size()) || !declaring.declares) {
    diagnostics::internal_error("an entity is declared by a kind outside the block table");
  }
  declaring_kind_ = static_cast<std::uint8_t>(&declaring - first);
}

Symbol::Symbol(SymbolKind kind, std::string_view name, diagnostics::Span span)
    : span(span), kind(kind), name_start_(name.data()) {
  if (name.size() != span.end - span.start) diagnostics::internal_error("a symbol's name and span differ in length");
}

std::string_view SymbolKind::entity() const {
  if (tag != Tag::Entity || declaring_kind_ == no_kind) return {};
  return *block_table[declaring_kind_].declares;
}

std::string_view SymbolKind::display_word() const {
  switch (tag) {
    case Tag::Entity: return entity();
    case Tag::Parameter: return "parameter";
    case Tag::BackendValue: return "backend value";
  }
  return entity();
}

bool is_entity_of(const Symbol& symbol, std::string_view entity_kind) {
  return symbol.kind.tag == SymbolKind::Tag::Entity && symbol.kind.entity() == entity_kind;
}

std::optional<diagnostics::Span> OrderedSymbols::insert(Symbol symbol) {
  std::uint32_t hash = NameIndex::hash(symbol.name());
  auto is_match = [&](std::size_t at) { return symbols_[at].name() == symbol.name(); };
  if (std::optional<std::size_t> earlier = index_.find(hash, is_match)) return symbols_[*earlier].span;
  index_.add(hash, symbols_.size());
  symbols_.push_back(symbol);
  return std::nullopt;
}

void OrderedSymbols::reserve(std::size_t count) {
  symbols_.reserve(count);
  index_.reserve(count);
}

const Symbol* OrderedSymbols::find(std::string_view name) const {
  auto is_match = [&](std::size_t at) { return symbols_[at].name() == name; };
  std::optional<std::size_t> found = index_.find(NameIndex::hash(name), is_match);
  return found ? &symbols_[*found] : nullptr;
}

std::optional<diagnostics::Span> LocalSymbols::insert(std::string_view scope, Symbol symbol) {
  std::uint32_t hash = scoped_name_hash(scope, symbol.name());
  auto is_match = [&](std::size_t at) { return symbols_[at].scope == scope && symbols_[at].symbol.name() == symbol.name(); };
  if (std::optional<std::size_t> earlier = index_.find(hash, is_match)) return symbols_[*earlier].symbol.span;
  index_.add(hash, symbols_.size());
  symbols_.push_back(LocalSymbol{scope, symbol});
  return std::nullopt;
}

const Symbol* LocalSymbols::find(std::string_view scope, std::string_view name) const {
  if (symbols_.empty()) return nullptr;
  auto is_match = [&](std::size_t at) { return symbols_[at].scope == scope && symbols_[at].symbol.name() == name; };
  std::optional<std::size_t> found = index_.find(scoped_name_hash(scope, name), is_match);
  return found ? &symbols_[*found].symbol : nullptr;
}

std::optional<diagnostics::Span> declare_global(SymbolTable& table, Symbol symbol) {
  return table.globals.insert(symbol);
}

std::optional<diagnostics::Span> declare_local(SymbolTable& table, std::string_view scope, Symbol symbol) {
  return table.locals.insert(scope, symbol);
}

const Symbol* lookup_global(const SymbolTable& table, std::string_view name) { return table.globals.find(name); }

const Symbol* lookup_local(const SymbolTable& table, std::string_view scope, std::string_view name) {
  return table.locals.find(scope, name);
}

const Symbol* lookup(const SymbolTable& table, std::optional<std::string_view> scope, std::string_view name) {
  if (scope) {
    if (const Symbol* local = lookup_local(table, *scope, name)) return local;
  }
  return lookup_global(table, name);
}

}  // namespace ovm::sema
