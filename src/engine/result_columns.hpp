#pragma once

#include <string>
#include <vector>

#include "engine/simulation_state.hpp"
#include "ir/model_graph.hpp"
#include "ir/results_file.hpp"

namespace ovm::engine {

// The result columns, one per output of the model in its order, and the row key each column
// reads its cells from, in the same order.
struct ColumnSet {
  std::vector<ir::ResultsColumn> columns;
  std::vector<std::string> row_keys;
};

// Builds the columns from the model's outputs; the ids they name are in range, as the graph
// check covers them. An amount column is in the unit of its pool's kind among `reservoirs`
// (the run's state), "mol/kgw" for a pool that holds no kind there.
ColumnSet column_set(const ir::ModelGraph& model, const std::vector<ReservoirState>& reservoirs = {});

// One results row per recorded row, in recording order; cell j is the value recorded under row
// key j, or no value when the row has none there.
std::vector<ir::ResultsRow> results_rows(const std::vector<RecordedRow>& rows, const std::vector<std::string>& row_keys);

}  // namespace ovm::engine
