#include "sema/profile.hpp"

#include <gtest/gtest.h>

namespace ovm::sema {
namespace {

TEST(ProfileTest, DisplayNamesAndValues) {
  EXPECT_EQ(as_str(Profile::Core), "Core");
  EXPECT_EQ(as_str(Profile::Identification), "Identification");
  EXPECT_EQ(as_str(Profile::Extended), "Extended");
  EXPECT_EQ(static_cast<int>(Profile::Core), 0);
  EXPECT_EQ(static_cast<int>(Profile::Identification), 1);
  EXPECT_EQ(static_cast<int>(Profile::Extended), 2);
}

TEST(ProfileTest, CoreAlwaysAdmittedOthersOnlyUnderTheirOwnProfile) {
  struct Case {
    Profile selected;
    Profile kind;
    bool admitted;
  };
  constexpr Profile C = Profile::Core, I = Profile::Identification, E = Profile::Extended;
  const Case cases[] = {
      {C, C, true},  {I, C, true},  {E, C, true},   // core kinds everywhere
      {C, I, false}, {C, E, false},                  // SAMPLE and LAW under core
      {E, I, false},                                 // extended does not admit SAMPLE
      {I, E, false},                                 // identification does not admit LAW
      {I, I, true},  {E, E, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(admits(c.selected, c.kind), c.admitted) << as_str(c.selected) << " " << as_str(c.kind);
  }
}

}  // namespace
}  // namespace ovm::sema
