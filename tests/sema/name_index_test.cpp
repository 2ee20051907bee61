#include "sema/name_index.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ovm::sema {
namespace {

std::optional<std::size_t> find_name(const NameIndex& index, const std::vector<std::string>& names,
                                     std::string_view name) {
  return index.find(NameIndex::hash(name), [&](std::size_t at) { return names[at] == name; });
}

TEST(NameIndexTest, FindsEveryRecordedNameThroughGrowth) {
  NameIndex index;
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) {
    names.push_back("name" + std::to_string(i));
    index.add(NameIndex::hash(names.back()), names.size() - 1);
  }
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(find_name(index, names, names[i]), i);
  EXPECT_EQ(find_name(index, names, "name5000"), std::nullopt);
  EXPECT_EQ(find_name(index, names, ""), std::nullopt);
}

TEST(NameIndexTest, AnEmptyIndexFindsNothing) {
  NameIndex index;
  EXPECT_EQ(index.find(0, [](std::size_t) { return true; }), std::nullopt);
}

// Equal hashes of different names are told apart by the list, before and after growth.
TEST(NameIndexTest, CollidingHashesKeepTheirOwnPositions) {
  NameIndex index;
  std::vector<std::string> names = {"a", "b", "c"};
  for (std::size_t i = 0; i < names.size(); ++i) index.add(7, i);
  auto at = [&](std::string_view name) {
    return index.find(7, [&](std::size_t position) { return names[position] == name; });
  };
  EXPECT_EQ(at("c"), 2u);
  EXPECT_EQ(at("a"), 0u);
  for (std::size_t i = 3; i < 100; ++i) {
    names.push_back(std::to_string(i));
    index.add(static_cast<std::uint32_t>(i * 16 + 7), i);  // the slot of hash 7 while the table is small
  }
  EXPECT_EQ(at("b"), 1u);
  EXPECT_EQ(at("d"), std::nullopt);
  EXPECT_EQ(index.find(99 * 16 + 7, [&](std::size_t position) { return names[position] == "99"; }), 99u);
}

}  // namespace
}  // namespace ovm::sema
