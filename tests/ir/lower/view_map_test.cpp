// The lowering context's flat maps: found by key whatever the hashes collide on, a later
// assignment replacing an earlier value and an emplacement keeping it, across growth.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "ir/lower/view_map.hpp"
#include "sema/name_index.hpp"

namespace ovm::ir {
namespace {

struct NameHash {
  std::uint32_t operator()(std::string_view name) const { return sema::NameIndex::hash(name); }
};
template <class Id>
using NameMap = ViewMap<std::string_view, Id, NameHash>;

// Every key in one probe chain.
struct SameHash {
  std::uint32_t operator()(std::string_view) const { return 7; }
};

template <class Map>
void check_names(Map& map, const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); ++i) map.assign(names[i], static_cast<std::uint32_t>(i));
  ASSERT_EQ(map.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::uint32_t* found = map.find(names[i]);
    ASSERT_NE(found, nullptr) << names[i];
    EXPECT_EQ(*found, i) << names[i];
  }
  EXPECT_EQ(map.find("absent"), nullptr);
  EXPECT_EQ(map.find(names.front().substr(0, names.front().size() - 1)), nullptr);
}

TEST(ViewMapTest, FindsEveryKeyThroughGrowthAndCollisions) {
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) names.push_back("Aquifer_" + std::to_string(i));
  NameMap<std::uint32_t> hashed;
  check_names(hashed, names);
  names.resize(300);
  ViewMap<std::string_view, std::uint32_t, SameHash> colliding;
  check_names(colliding, names);
}

TEST(ViewMapTest, AssignReplacesAndEmplaceKeepsTheEarlierValue) {
  std::string first = "Reduction";
  std::string same_text = first;  // another view of equal text is the same key
  NameMap<std::uint32_t> map;
  map.emplace(first, 1);
  map.emplace(same_text, 2);
  ASSERT_NE(map.find(first), nullptr);
  EXPECT_EQ(*map.find(first), 1u);
  map.assign(same_text, 3);
  EXPECT_EQ(*map.find(first), 3u);
  EXPECT_EQ(map.size(), 1u);
}

// Addresses a fixed stride apart share their low bits: each is found, one between them is not.
TEST(ViewMapTest, FindsAddressesOfOneArray) {
  std::vector<std::array<char, 256>> records(4000);
  ViewMap<const void*, std::uint32_t, std::hash<const void*>> map;
  for (std::size_t i = 0; i < records.size(); ++i) map.assign(records[i].data(), static_cast<std::uint32_t>(i));
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::uint32_t* found = map.find(records[i].data());
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(*found, i);
  }
  EXPECT_EQ(map.find(records[0].data() + 1), nullptr);
}

}  // namespace
}  // namespace ovm::ir
