#include "sema/builtins.hpp"

#include <gtest/gtest.h>

#include <string_view>

namespace ovm::sema {
namespace {

TEST(InlineLawTargetsTest, ThreeTargetsInOrder) {
  ASSERT_EQ(inline_law_targets.size(), 3u);
  EXPECT_EQ(inline_law_targets[0].name, "alpha");
  EXPECT_EQ(inline_law_targets[0].dimension, "dimensionless");
  EXPECT_EQ(inline_law_targets[1].name, "epsilon");
  EXPECT_EQ(inline_law_targets[1].dimension, "delta");
  EXPECT_EQ(inline_law_targets[2].name, "1000ln_alpha");
  EXPECT_EQ(inline_law_targets[2].dimension, "delta");
  EXPECT_EQ(inline_law_target_names, (std::array<std::string_view, 3>{"alpha", "epsilon", "1000ln_alpha"}));
}

TEST(NamedConstantsTest, TheGasConstant) {
  ASSERT_EQ(named_constants.size(), 1u);
  const NamedConstant* r = find_named_constant("R");
  ASSERT_EQ(r, &named_constants[0]);
  EXPECT_EQ(r->unit, "J/mol/K");
  EXPECT_EQ(r->value, 8.314462618);
  EXPECT_EQ(find_named_constant("r"), nullptr);
  EXPECT_EQ(find_named_constant("T"), nullptr);  // built in, but no constant
  EXPECT_EQ(find_named_constant(""), nullptr);
}

TEST(BuiltinNamesTest, CaseMatters) {
  for (std::string_view name : {"time", "R", "T"}) EXPECT_TRUE(is_builtin_name(name)) << name;
  for (std::string_view name : {"t", "r", "Time", "TIME", "time ", "", "pi"}) {
    EXPECT_FALSE(is_builtin_name(name)) << "'" << name << "'";
  }
}

}  // namespace
}  // namespace ovm::sema
