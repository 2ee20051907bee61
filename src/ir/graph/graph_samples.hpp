#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ir/graph/graph_ids.hpp"
#include "ir/graph/graph_substances.hpp"

namespace ovm::ir {

// A measured composition, the source or the product of an identification.
struct Sample {
  SampleId id = 0;
  std::string name;
  std::string element;                    // empty when the block states none
  std::vector<Composition> compositions;  // absolute ratios, converted from the deltas written
  std::vector<double> series;
  std::optional<double> uncertainty_permil;
  std::optional<std::string> material;
  std::optional<std::string> note;

  friend bool operator==(const Sample&, const Sample&) = default;
};

enum class IdentificationMode : std::uint8_t { Single = 0, Chain = 1, Rayleigh = 2, Hybrid = 3 };

// A request for the process or chain of processes that explains the change from one sample to
// another. Nothing refers to it, so it carries no id.
struct Identification {
  std::string name;
  SampleId source = 0;
  SampleId product = 0;
  IdentificationMode mode = IdentificationMode::Single;
  std::vector<std::string> candidates;  // process type names, as written
  std::optional<std::string> context;   // held as the text written, unlike a process's
  std::optional<std::string> regime;    // likewise
  std::optional<std::uint32_t> max_chain;
  std::optional<double> tolerance_permil;
  std::optional<std::uint32_t> top;
  std::optional<double> extent;  // a fraction between 0 and 1

  friend bool operator==(const Identification&, const Identification&) = default;
};

}  // namespace ovm::ir
