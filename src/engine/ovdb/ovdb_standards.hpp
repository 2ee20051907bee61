#pragma once

#include <string>
#include <vector>

#include "engine/ovdb/ovdb_records.hpp"
#include "ir/graph/model_graph.hpp"

namespace ovm::engine {

// A standard an isotope system took from a database, for the run's note.
struct TakenStandard {
  std::string notation;
  std::string source;

  friend bool operator==(const TakenStandard&, const TakenStandard&) = default;
};

// Gives every isotope system without a standard the first database standard of its ratio, in
// load order; systems nothing matches stay without one. Returns what was taken, in the order
// of the isotope systems.
std::vector<TakenStandard> fill_standards_from_databases(ir::ModelGraph& graph, const DatabaseSet& set);

}  // namespace ovm::engine
