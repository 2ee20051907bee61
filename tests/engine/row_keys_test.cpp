#include "engine/row_keys.hpp"

#include <gtest/gtest.h>

#include <set>

namespace ovm::engine {
namespace {

TEST(RowKeysTest, KeysOfOrdinaryNames) {
  EXPECT_EQ(time_key(), "time");
  EXPECT_EQ(parameter_key(ir::ParameterId{12}), "parameter#12");
  EXPECT_EQ(composition_key("lake", 3), "lake#3");
  EXPECT_EQ(amount_key("lake", 0), "lake#0#amount");
  EXPECT_EQ(remaining_key("lake", 1), "lake#1#remaining");
  EXPECT_EQ(reacted_key("lake", 1), "lake#1#reacted");
  EXPECT_EQ(pool_composition_key("lake", 1, 2), "lake#1#2");
  EXPECT_EQ(composition_key("Parameter", 0), "Parameter#0");  // only the exact name is marked
}

// Names that would otherwise run into each other's keys stay apart.
TEST(RowKeysTest, NoTwoQuantitiesShareAKey) {
  std::vector<std::string> keys = {
      parameter_key(ir::ParameterId{1}),  composition_key("parameter", 1),
      composition_key("\\parameter", 1),  composition_key("a#1", 2),
      pool_composition_key("a", 1, 2),    composition_key("a\\", 1),
      composition_key("a\\#1", 1),        amount_key("a#1", 1),
      composition_key("a#1#amount", 1),   time_key(),
      composition_key("time", 0),         remaining_key("a", 1),
      reacted_key("a", 1),                pool_composition_key("a#1", 2, 3),
  };
  EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size());
  EXPECT_EQ(composition_key("a#1", 2), "a\\#1#2");
  EXPECT_EQ(composition_key("a\\", 1), "a\\\\#1");
  EXPECT_EQ(composition_key("parameter", 1), "\\parameter#1");
}

}  // namespace
}  // namespace ovm::engine
