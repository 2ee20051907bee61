#include "sema/symbol_table.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ovm::sema {
namespace {

using diagnostics::Span;

// Names are views: the tests name their symbols with literals, which outlive the table.
Symbol entity(std::string_view name, std::string_view kind, std::uint32_t at) {
  return Symbol{SymbolKind{SymbolKind::Tag::Entity, kind}, name, Span{0, at, at + 1}};
}

Symbol parameter(std::string_view name, std::uint32_t at) {
  return Symbol{SymbolKind{SymbolKind::Tag::Parameter, {}}, name, Span{0, at, at + 1}};
}

TEST(SymbolKindTest, DisplayWords) {
  EXPECT_EQ((SymbolKind{SymbolKind::Tag::Entity, "Reservoir"}.display_word()), "Reservoir");
  EXPECT_EQ((SymbolKind{SymbolKind::Tag::Entity, "Identification"}.display_word()), "Identification");
  EXPECT_EQ((SymbolKind{SymbolKind::Tag::Parameter, {}}.display_word()), "parameter");
  EXPECT_EQ((SymbolKind{SymbolKind::Tag::BackendValue, {}}.display_word()), "backend value");
}

TEST(SymbolTableTest, ASecondDeclarationOfANameKeepsTheFirst) {
  SymbolTable table;
  EXPECT_EQ(declare_global(table, entity("Ocean", "Reservoir", 10)), std::nullopt);
  EXPECT_EQ(declare_global(table, parameter("Ocean", 50)), (Span{0, 10, 11}));

  const Symbol* found = lookup_global(table, "Ocean");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->kind.tag, SymbolKind::Tag::Entity);
  EXPECT_EQ(found->kind.entity, "Reservoir");
  EXPECT_EQ(found->span, (Span{0, 10, 11}));
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
  for (const Symbol& symbol : table.globals.in_order()) order.emplace_back(symbol.name);
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

  ASSERT_EQ(table.locals.size(), 2u);
  EXPECT_EQ(table.locals[0].first, "P");
  EXPECT_EQ(table.locals[1].first, "Q");
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
