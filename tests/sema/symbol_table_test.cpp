#include "sema/symbol_table.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sema/block_table.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Span;

// Names are views: the tests name their symbols with literals, which outlive the table. A
// span is as long as its name.
Span span_of(std::string_view name, std::uint32_t at) { return Span{0, at, at + static_cast<std::uint32_t>(name.size())}; }

Symbol entity(std::string_view name, std::string_view kind, std::uint32_t at) {
  return Symbol{SymbolKind{SymbolKind::Tag::Entity, kind}, name, span_of(name, at)};
}

Symbol parameter(std::string_view name, std::uint32_t at) {
  return Symbol{SymbolKind{SymbolKind::Tag::Parameter, {}}, name, span_of(name, at)};
}

TEST(SymbolKindTest, EntityKindsComeFromTheDeclaringBlockKind) {
  for (const BlockSpec& kind : block_table) {
    if (!kind.declares) continue;
    EXPECT_EQ(SymbolKind{kind}.entity(), *kind.declares);
    EXPECT_EQ((SymbolKind{SymbolKind::Tag::Entity, *kind.declares}.entity()), *kind.declares);
  }
  EXPECT_EQ((SymbolKind{SymbolKind::Tag::Parameter, {}}.entity()), "");
}

TEST(SymbolKindTest, DisplayWords) {
  EXPECT_EQ((SymbolKind{SymbolKind::Tag::Entity, "Reservoir"}.display_word()), "Reservoir");
  EXPECT_EQ((SymbolKind{SymbolKind::Tag::Entity, "Identification"}.display_word()), "Identification");
  EXPECT_EQ((SymbolKind{SymbolKind::Tag::Parameter, {}}.display_word()), "parameter");
  EXPECT_EQ((SymbolKind{SymbolKind::Tag::BackendValue, {}}.display_word()), "backend value");
}

// A symbol holds where its name starts; the span gives its length.
TEST(SymbolTest, TheNameIsTheTextUnderTheSpan) {
  std::string_view source = "RESERVOIR Ocean_basin\n";
  Symbol symbol{SymbolKind{SymbolKind::Tag::Entity, "Reservoir"}, source.substr(10, 11), Span{3, 10, 21}};
  EXPECT_EQ(symbol.name(), "Ocean_basin");
  EXPECT_EQ(symbol.name().data(), source.data() + 10);
  EXPECT_EQ(symbol.span, (Span{3, 10, 21}));
  EXPECT_EQ(symbol.kind.entity(), "Reservoir");
}

// Only the program itself can build such symbols: each is an internal error, never a wrong name.
TEST(SymbolDeathTest, ASymbolThatCannotBeHeldIsADefect) {
  // The name is read back as long as the span.
  EXPECT_EXIT((Symbol{SymbolKind{}, "Ocean", Span{0, 0, 4}}), testing::ExitedWithCode(3), "internal error");
  // The entity kind is held as the block kind that declares it.
  EXPECT_EXIT((SymbolKind{SymbolKind::Tag::Entity, "Lake"}), testing::ExitedWithCode(3), "internal error");
}

TEST(SymbolTableTest, ASecondDeclarationOfANameKeepsTheFirst) {
  SymbolTable table;
  EXPECT_EQ(declare_global(table, entity("Ocean", "Reservoir", 10)), std::nullopt);
  EXPECT_EQ(declare_global(table, parameter("Ocean", 50)), (Span{0, 10, 15}));

  const Symbol* found = lookup_global(table, "Ocean");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->kind.tag, SymbolKind::Tag::Entity);
  EXPECT_EQ(found->kind.entity(), "Reservoir");
  EXPECT_EQ(found->span, (Span{0, 10, 15}));
  EXPECT_EQ(table.globals.in_order().size(), 1u);
}

TEST(SymbolTableTest, NamesAreComparedByteForByte) {
  SymbolTable table;
  declare_global(table, entity("Ocean", "Reservoir", 0));
  EXPECT_EQ(lookup_global(table, "ocean"), nullptr);
  EXPECT_EQ(lookup_global(table, "Ocean "), nullptr);
  EXPECT_EQ(declare_global(table, entity("ocean", "Reservoir", 5)), std::nullopt);
  EXPECT_EQ(table.globals.in_order().size(), 2u);
}

TEST(SymbolTableTest, IterationFollowsDeclarationOrder) {
  SymbolTable table;
  for (const char* name : {"B", "A", "C"}) declare_global(table, parameter(name, 0));
  declare_global(table, parameter("A", 9));  // refused, so the order stays
  std::vector<std::string> order;
  for (const Symbol& symbol : table.globals.in_order()) order.emplace_back(symbol.name());
  EXPECT_EQ(order, (std::vector<std::string>{"B", "A", "C"}));
}

TEST(SymbolTableTest, LocalsLiveInTheirOwnScope) {
  SymbolTable table;
  EXPECT_EQ(declare_local(table, "P", parameter("x", 1)), std::nullopt);
  EXPECT_EQ(declare_local(table, "Q", parameter("x", 2)), std::nullopt);
  EXPECT_EQ(declare_local(table, "P", parameter("x", 3)), (Span{0, 1, 2}));

  ASSERT_NE(lookup(table, "P", "x"), nullptr);
  EXPECT_EQ(lookup(table, "P", "x")->span, (Span{0, 1, 2}));
  ASSERT_NE(lookup(table, "Q", "x"), nullptr);
  EXPECT_EQ(lookup(table, "Q", "x")->span, (Span{0, 2, 3}));
  EXPECT_EQ(lookup(table, std::nullopt, "x"), nullptr);
  EXPECT_EQ(lookup_local(table, "R", "x"), nullptr);
  EXPECT_EQ(lookup_local(table, "p", "x"), nullptr);

  // The refused third declaration is not kept.
  std::vector<std::string> order;
  for (const LocalSymbol& local : table.locals.in_order()) {
    order.push_back(std::string(local.scope) + "." + std::string(local.symbol.name()));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"P.x", "Q.x"}));
}

// A scope and a name are one key, not one text: no split of a joined text finds another's.
TEST(SymbolTableTest, ScopeAndNameAreKeptApart) {
  SymbolTable table;
  declare_local(table, "Ab", parameter("c", 1));
  EXPECT_EQ(declare_local(table, "A", parameter("bc", 2)), std::nullopt);
  EXPECT_EQ(lookup_local(table, "Ab", "c")->span, (Span{0, 1, 2}));
  EXPECT_EQ(lookup_local(table, "A", "bc")->span, (Span{0, 2, 4}));
  EXPECT_EQ(lookup_local(table, "A", "c"), nullptr);
  EXPECT_EQ(lookup_local(table, "", "Abc"), nullptr);
}

// Thousands of scopes with the same local names, as a large model has: each stays apart.
TEST(SymbolTableTest, ManyScopesKeepTheirOwnLocals) {
  SymbolTable table;
  std::vector<std::string> scopes;
  for (int i = 0; i < 3000; ++i) scopes.push_back("Block_" + std::to_string(i));
  for (std::uint32_t i = 0; i < scopes.size(); ++i) {
    ASSERT_EQ(declare_local(table, scopes[i], parameter("k", i)), std::nullopt);
    ASSERT_EQ(declare_local(table, scopes[i], parameter("rate", i + 10000)), std::nullopt);
  }
  for (std::uint32_t i = 0; i < scopes.size(); ++i) {
    ASSERT_NE(lookup_local(table, scopes[i], "k"), nullptr);
    EXPECT_EQ(lookup_local(table, scopes[i], "k")->span.start, i);
    EXPECT_EQ(lookup_local(table, scopes[i], "rate")->span.start, i + 10000);
    EXPECT_EQ(declare_local(table, scopes[i], parameter("k", 99999)), (Span{0, i, i + 1}));
  }
  EXPECT_EQ(table.locals.in_order().size(), 2 * scopes.size());
  EXPECT_EQ(table.locals.in_order()[1].scope, "Block_0");
  EXPECT_EQ(table.locals.in_order()[2].scope, "Block_1");
}

TEST(SymbolTableTest, ALocalHidesAGlobalOnlyInItsScope) {
  SymbolTable table;
  declare_global(table, parameter("k", 1));
  declare_local(table, "P", parameter("k", 7));
  declare_local(table, "P", parameter("other", 8));

  EXPECT_EQ(lookup(table, "P", "k")->span, (Span{0, 7, 8}));
  EXPECT_EQ(lookup(table, "Q", "k")->span, (Span{0, 1, 2}));  // no such scope
  EXPECT_EQ(lookup(table, std::nullopt, "k")->span, (Span{0, 1, 2}));
  EXPECT_EQ(lookup(table, "P", "missing"), nullptr);
  EXPECT_EQ(lookup_global(table, "other"), nullptr);  // locals never reach globals
}

}  // namespace
}  // namespace ovm::sema
