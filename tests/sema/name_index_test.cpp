#include "sema/name_index.hpp"

#include <gtest/gtest.h>

#include <map>
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

// A slot shares its bits between the position and part of the hash: positions that need more
// bits than the first ones given, in a long list or recorded far apart, are still found.
TEST(NameIndexTest, FindsPositionsOfEveryWidth) {
  NameIndex index;
  std::map<std::size_t, std::string> names;
  for (std::size_t i = 0; i < 70000; ++i) names[i] = "name" + std::to_string(i);
  for (std::size_t far : {std::size_t{1} << 18, (std::size_t{1} << 20) + 3}) names[far] = "name" + std::to_string(far);
  for (const auto& [position, name] : names) index.add(NameIndex::hash(name), position);
  auto at = [&](const std::string& name) {
    return index.find(NameIndex::hash(name), [&](std::size_t position) {
      auto found = names.find(position);
      return found != names.end() && found->second == name;
    });
  };
  for (const auto& [position, name] : names) EXPECT_EQ(at(name), position);
  EXPECT_EQ(at("name70000"), std::nullopt);
  EXPECT_EQ(at("name262145"), std::nullopt);
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

// A later record of a name takes the earlier one's place, including one that needs a wider
// position than the index held so far; other names keep theirs.
TEST(NameIndexTest, AssignReplacesTheMatchingPosition) {
  NameIndex index;
  std::vector<std::string> names(200000);
  auto record = [&](std::size_t position, const std::string& name) {
    names[position] = name;
    index.assign(NameIndex::hash(name), position, [&](std::size_t at) { return names[at] == name; });
  };
  for (std::size_t i = 0; i < 100; ++i) record(i, "name" + std::to_string(i));
  record(150, "name7");
  record(150000, "name42");
  for (std::size_t i = 0; i < 100; ++i) {
    std::size_t expected = i == 7 ? 150 : i == 42 ? 150000 : i;
    EXPECT_EQ(find_name(index, names, "name" + std::to_string(i)), expected) << i;
  }
  record(100, "new");
  EXPECT_EQ(find_name(index, names, "new"), 100u);
}

}  // namespace
}  // namespace ovm::sema
