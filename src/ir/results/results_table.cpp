#include <cmath>

#include "ir/results/results_file.hpp"

namespace ovm::ir {

bool operator==(const ResultsTable& a, const ResultsTable& b) {
  if (a.width != b.width || a.rows != b.rows || a.cells.size() != b.cells.size()) return false;
  for (std::size_t i = 0; i < a.cells.size(); ++i) {
    if (a.cells[i] != b.cells[i] && !(std::isnan(a.cells[i]) && std::isnan(b.cells[i]))) return false;
  }
  return true;
}

std::span<const double> table_row(const ResultsTable& table, std::size_t i) {
  return std::span<const double>(table.cells).subspan(i * table.width, table.width);
}

void append_table_row(ResultsTable& table, std::span<const double> cells) {
  table.cells.insert(table.cells.end(), cells.begin(), cells.end());
  ++table.rows;
}

std::vector<ResultsRow> table_rows(const ResultsTable& table) {
  std::vector<ResultsRow> rows;
  rows.reserve(table.rows);
  for (std::size_t i = 0; i < table.rows; ++i) {
    ResultsRow& row = rows.emplace_back();
    for (double cell : table_row(table, i)) row.push_back(std::isnan(cell) ? std::nullopt : std::optional<double>(cell));
  }
  return rows;
}

}  // namespace ovm::ir
