#pragma once

#include <compare>
#include <cstdint>

namespace ovm::ir {

// Every record that others refer to carries its index in its list of the ModelGraph as its id,
// and references are such ids. Only the parameter id is a type of its own: it is the one id that
// expressions hold, and it has a debug text.
using SpeciesId = std::uint32_t;
using IsotopeId = std::uint32_t;
using ReservoirId = std::uint32_t;
using ProcessId = std::uint32_t;
using SampleId = std::uint32_t;

// An index into ModelGraph::parameters.
struct ParameterId {
  std::uint32_t index = 0;

  friend auto operator<=>(const ParameterId&, const ParameterId&) = default;
};

}  // namespace ovm::ir
