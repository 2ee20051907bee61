#include "engine/simulation/evaluate_subject.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "state_test_support.hpp"

namespace ovm::engine {
namespace {

using ir::Subject;
using testing::value_of;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// Reservoir 0, "lake": species 0 with 2 mol and delta 1.5 of isotope 0 and 4 of isotope 1;
// species 3 with 6 mol and delta -0.25 of isotope 0. Reservoir 1, "empty", holds nothing.
SimulationState lake_state() {
  SimulationState state;
  ReservoirState lake{"lake", {}};
  lake.pools[0] = PoolState{2, {{0, 1.5}, {1, 4}}};
  lake.pools[3] = PoolState{6, {{0, -0.25}}};
  state.reservoirs = {lake, ReservoirState{"empty", {}}};
  return state;
}

TEST(EvalSubjectTest, ClockAmountsAndDeltas) {
  SimulationState state = lake_state();
  state.clock = 12.5;
  struct Case {
    Subject subject;
    double expected;
  };
  for (const Case& test : std::vector<Case>{
           {Subject{Subject::Time{}}, 12.5},
           {Subject{Subject::Amount{0, 3}}, 6},
           {Subject{Subject::Amount{0, 1}}, 0},  // the reservoir holds no such pool
           {Subject{Subject::Amount{1, 0}}, 0},
           {Subject{Subject::PoolComposition{0, 0, 1}}, 4},
           {Subject{Subject::PoolComposition{0, 3, 1}}, 0},  // the pool holds no delta of the isotope
           {Subject{Subject::PoolComposition{0, 5, 0}}, 0},  // no such pool
           // (2 x 1.5 + 6 x -0.25) / (2 + 6); only the pool of species 0 holds isotope 1.
           {Subject{Subject::Composition{0, 0}}, 0.1875},
           {Subject{Subject::Composition{0, 1}}, 4},
           {Subject{Subject::Composition{0, 2}}, 0},
           {Subject{Subject::Composition{1, 0}}, 0},
       }) {
    EXPECT_EQ(value_of(eval_subject(state, test.subject)), test.expected);
  }
}

TEST(EvalSubjectTest, CompositionWeighsOnlyPoolsWithPositiveAmounts) {
  SimulationState state = lake_state();
  state.reservoirs[0].pools[3].amount = 1;
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::Composition{0, 0}})), (2 * 1.5 + 1 * -0.25) / (2.0 + 1));
  state.reservoirs[0].pools[3].amount = -1;
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::Composition{0, 0}})), 1.5);
  // A pool of amount 0 takes no part, even with an infinite delta.
  state.reservoirs[0].pools[3] = PoolState{0, {{0, std::numeric_limits<double>::infinity()}}};
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::Composition{0, 0}})), 1.5);
  state.reservoirs[0].pools[0].amount = 0;
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::Composition{0, 0}})), 0);
  // A not-a-number amount takes part and makes the summed amount not positive.
  state.reservoirs[0].pools[0].amount = nan;
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::Composition{0, 0}})), 0);
}

TEST(EvalSubjectTest, FractionsOfTheStartAmount) {
  SimulationState state = lake_state();
  state.start_amounts[{"lake", 3}] = 12;
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::FractionRemaining{0, 3}})), 0.5);
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::FractionReacted{0, 3}})), 0.5);
  state.reservoirs[0].pools[3].amount = 3;
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::FractionRemaining{0, 3}})), 0.25);
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::FractionReacted{0, 3}})), 0.75);
  // A pool that no longer exists counts as amount 0.
  state.reservoirs[0].pools.erase(3);
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::FractionRemaining{0, 3}})), 0);
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::FractionReacted{0, 3}})), 1);
}

TEST(EvalSubjectTest, FractionWithoutPositiveStartAmountFails) {
  SimulationState state = lake_state();
  state.start_amounts[{"lake", 0}] = 0;
  state.start_amounts[{"empty", 3}] = nan;
  const EngineError lake_zero{"OV402", "`lake` holds no 0 at the start, so no fraction of it can remain"};
  const EngineError lake_three{"OV402", "`lake` holds no 3 at the start, so no fraction of it can remain"};
  const EngineError empty_three{"OV402", "`empty` holds no 3 at the start, so no fraction of it can remain"};
  struct Case {
    Subject subject;
    EngineError expected;
  };
  for (const Case& test : std::vector<Case>{{Subject{Subject::FractionRemaining{0, 0}}, lake_zero},
                                            {Subject{Subject::FractionReacted{0, 0}}, lake_zero},
                                            {Subject{Subject::FractionRemaining{0, 3}}, lake_three},
                                            {Subject{Subject::FractionReacted{1, 3}}, empty_three}}) {
    EvalResult result = eval_subject(state, test.subject);
    ASSERT_TRUE(std::holds_alternative<EngineError>(result));
    EXPECT_EQ(std::get<EngineError>(result), test.expected);
  }
}

TEST(EvalSubjectTest, StartAmountsAreLookedUpByReservoirName) {
  SimulationState state = lake_state();
  state.start_amounts[{"empty", 0}] = 4;  // another reservoir's entry for the same species
  EXPECT_TRUE(std::holds_alternative<EngineError>(eval_subject(state, Subject{Subject::FractionRemaining{0, 0}})));
  state.start_amounts[{"lake", 0}] = 4;
  EXPECT_EQ(value_of(eval_subject(state, Subject{Subject::FractionRemaining{0, 0}})), 0.5);
}

}  // namespace
}  // namespace ovm::engine
