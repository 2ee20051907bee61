#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ir/graph/graph_backends.hpp"
#include "ir/graph/graph_outputs.hpp"
#include "ir/graph/graph_parameters.hpp"
#include "ir/graph/graph_processes.hpp"
#include "ir/graph/graph_provenance.hpp"
#include "ir/graph/graph_samples.hpp"
#include "ir/graph/graph_simulation.hpp"
#include "ir/graph/graph_substances.hpp"

namespace ovm::ir {

// The lowered model: flat lists of records that refer to each other by id, every quantity in
// its base unit. The members stand in the order the lowered-model file writes them. Records
// with an id sit at the index equal to it, and no record is removed or reordered once appended.
struct ModelGraph {
  Meta meta;
  Provenance provenance;
  Conditions conditions;
  std::vector<Parameter> parameters;
  std::vector<Species> species;
  std::vector<IsotopeSystem> isotopes;
  std::vector<Reservoir> reservoirs;
  std::vector<Process> processes;
  std::vector<Sample> samples;
  std::vector<Identification> identifications;
  // The capabilities the model needs: the lower-cased keyword of every non-core block kind it
  // uses, sorted, each once. The file key is "requires", a keyword in C++.
  std::vector<std::string> requires_;
  std::vector<Backend> backends;
  std::optional<Simulation> simulation;  // absent when no MODEL block yields one
  std::vector<Output> outputs;
  std::optional<double> sampling_seconds;  // between recorded rows of a time-driven run
  std::vector<Export> exports;

  friend bool operator==(const ModelGraph&, const ModelGraph&) = default;
};

}  // namespace ovm::ir
