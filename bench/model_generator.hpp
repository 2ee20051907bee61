#pragma once

#include <cstddef>
#include <string>

namespace ovm::bench {

// A valid model of at least `bytes` bytes: one Cr(VI) reduction unit (reservoir, process,
// fractionation, kinetics and a rate parameter) after another, each with names of its own.
std::string generate_model(std::size_t bytes);

// A first-order Cr(VI) reduction with Rayleigh fractionation in each of `processes` aquifers,
// run by steps of 1 d until `steps` days have passed, with `unused` parameters that nothing
// reads. The rate constant of aquifer i is read through a chain of `chain` parameters, each
// the one before times one, when `chain` is not 0. Outputs: time, Aquifer_0.Cr(VI),
// Aquifer_0.delta53Cr and the Cr(III) of the last aquifer.
struct RayleighModel {
  std::size_t processes = 10;
  std::size_t steps = 1'000'000;
  std::size_t unused = 0;
  std::size_t chain = 0;
};
std::string generate_rayleigh_model(const RayleighModel& shape);

}  // namespace ovm::bench
