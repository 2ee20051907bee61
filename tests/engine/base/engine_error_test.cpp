#include "engine/base/engine_error.hpp"

#include <gtest/gtest.h>

namespace ovm::engine {
namespace {

TEST(EngineErrorTest, StepLimitErrorHasItsCodeAndMessage) {
  EngineError error = step_limit_error();
  EXPECT_EQ(error.code, "OV301");
  EXPECT_EQ(error.message, "the stopping condition was not reached within a million steps");
}

TEST(EngineErrorTest, BuiltFromCodeAndMessage) {
  EngineError error{"OV105", "db.ovdb cannot be read"};
  EngineError moved = std::move(error);
  EXPECT_EQ(moved.code, "OV105");
  EXPECT_EQ(moved.message, "db.ovdb cannot be read");
}

}  // namespace
}  // namespace ovm::engine
