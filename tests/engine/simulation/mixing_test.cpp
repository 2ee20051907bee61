#include "engine/simulation/mixing.hpp"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "process_test_support.hpp"

namespace ovm::engine {
namespace {

using testing::failure;
using testing::pool;

// Reservoirs "a" (0), "b" (1) and "mix" (2); species 0 in a at 2 with delta 10 and in b at 4
// with delta 20, both of isotope 0.
SimulationState two_sources() {
  SimulationState state;
  state.reservoirs = {ReservoirState{"a", {}}, ReservoirState{"b", {}}, ReservoirState{"mix", {}}};
  state.reservoirs[0].pools[0] = PoolState{2, {{0, 10}}};
  state.reservoirs[1].pools[0] = PoolState{4, {{0, 20}}};
  return state;
}

ir::ProcessKind::Mixing mixing_of(double wa, double wb, ir::ReservoirId product = 2) {
  return ir::ProcessKind::Mixing{{ir::MixingSource{0, wa}, ir::MixingSource{1, wb}}, product};
}

TEST(MixingTest, AmountsAndDeltasWeightedBySourceAmounts) {
  SimulationState state = two_sources();
  std::vector<ReservoirState> sources(state.reservoirs.begin(), state.reservoirs.begin() + 2);
  ASSERT_FALSE(mix(state, "blend", mixing_of(0.5, 0.5)));
  EXPECT_EQ(pool(state, 2, 0), (PoolState{0.5 * 2 + 0.5 * 4, {{0, (10 * 1.0 + 20 * 2.0) / (1 + 2.0)}}}));
  EXPECT_NEAR(pool(state, 2, 0).deltas.at(0), 16.6667, 1e-4);
  EXPECT_EQ(std::vector<ReservoirState>(state.reservoirs.begin(), state.reservoirs.begin() + 2), sources);

  // Fractions are not normalised.
  SimulationState whole = two_sources();
  ASSERT_FALSE(mix(whole, "blend", mixing_of(1, 1)));
  EXPECT_EQ(pool(whole, 2, 0).amount, 6);
}

TEST(MixingTest, WhatTheSourcesDoNotCoverIsKept) {
  SimulationState state = two_sources();
  state.reservoirs[0].pools[5] = PoolState{0, {{0, 99}}};  // an empty pool weighs nothing
  state.reservoirs[2].pools[0] = PoolState{100, {{0, -1}, {3, 7}}};
  state.reservoirs[2].pools[5] = PoolState{8, {{0, 4}}};
  state.reservoirs[2].pools[9] = PoolState{1, {{0, 2}}};
  ASSERT_FALSE(mix(state, "blend", mixing_of(0.5, 0.5)));
  EXPECT_EQ(state.reservoirs[2].pools, (std::map<ir::SpeciesId, PoolState>{
                                           {0, PoolState{3, {{0, (10 * 1.0 + 20 * 2.0) / 3}, {3, 7}}}},
                                           {5, PoolState{0, {{0, 4}}}},
                                           {9, PoolState{1, {{0, 2}}}},
                                       }));
}

TEST(MixingTest, MissingSourcePassedOverAndMissingProductRefused) {
  SimulationState state = two_sources();
  ir::ProcessKind::Mixing mixing = mixing_of(0.5, 0.5);
  mixing.sources.push_back(ir::MixingSource{7, 1});
  ASSERT_FALSE(mix(state, "blend", mixing));
  EXPECT_EQ(pool(state, 2, 0).amount, 3);

  SimulationState refused = two_sources();
  std::vector<ReservoirState> before = refused.reservoirs;
  EXPECT_EQ(failure(mix(refused, "blend", mixing_of(0.5, 0.5, 3))),
            (EngineError{"OV402", "mixing into reservoir 3 which does not exist"}));
  EXPECT_EQ(refused.reservoirs, before);
}

TEST(MixingTest, AmountsOfUnlikeKindsAreNeverAdded) {
  SimulationState state = two_sources();
  state.model.species.push_back(ir::Species{});
  state.model.species[0].formula = "Cr(VI)";
  state.reservoirs[0].pools[0].kind = AmountKind::Molality;
  state.reservoirs[1].pools[0].kind = AmountKind::MassConcentration;
  EXPECT_EQ(failure(mix(state, "blend", mixing_of(0.5, 0.5))),
            (EngineError{"OV402", "`blend` would add a mass concentration (mg/L) to a molality (mol/kgw) of `Cr(VI)` "
                                  "in `mix`"}));

  // Sources alike, but the product pool's rows so far are in the other kind.
  SimulationState product = two_sources();
  product.reservoirs[0].pools[0].kind = AmountKind::MassConcentration;
  product.reservoirs[1].pools[0].kind = AmountKind::MassConcentration;
  product.reservoirs[2].pools[0] = PoolState{1, {}, AmountKind::Molality};
  EXPECT_EQ(failure(mix(product, "blend", mixing_of(0.5, 0.5))).code, "OV402");

  // Alike everywhere: the product pool takes the kind.
  product.reservoirs[2].pools.clear();
  ASSERT_FALSE(mix(product, "blend", mixing_of(0.5, 0.5)));
  EXPECT_EQ(pool(product, 2, 0).kind, AmountKind::MassConcentration);
}

TEST(MixingTest, ProductMayBeOneOfTheSources) {
  SimulationState state = two_sources();
  ASSERT_FALSE(mix(state, "blend", mixing_of(0.5, 0.5, 0)));
  EXPECT_EQ(pool(state, 0, 0), (PoolState{3, {{0, 50.0 / 3}}}));
  EXPECT_EQ(pool(state, 1, 0), (PoolState{4, {{0, 20}}}));
}

}  // namespace
}  // namespace ovm::engine
