#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ovm::ir {

// What a result column holds. A reacted fraction has no kind of its own.
enum class ColumnKind : std::uint8_t { Time, Amount, Composition, PoolComposition, FractionRemaining, Parameter };

// "time", "amount", "composition", "pool_composition", "fraction_remaining", "parameter".
std::string_view column_kind_name(ColumnKind kind);

struct ResultsEngine {
  std::string name = "ovm-engine";
  std::string version = "0.1.0";

  friend bool operator==(const ResultsEngine&, const ResultsEngine&) = default;
};

// Which model was run, copied from its provenance and simulation.
struct ResultsModel {
  std::string ir_version;
  std::optional<std::string> source_path{};
  std::optional<std::string> source_sha256{};
  std::optional<std::string> simulation{};  // the simulation's name; absent without one

  friend bool operator==(const ResultsModel&, const ResultsModel&) = default;
};

struct ResultsColumn {
  std::string name;
  ColumnKind kind = ColumnKind::Time;
  std::string unit;
  std::optional<std::string> reservoir{};
  std::optional<std::string> species{};
  std::optional<std::string> isotope{};
  std::optional<std::string> parameter{};

  friend bool operator==(const ResultsColumn&, const ResultsColumn&) = default;
};

// Cell j belongs to column j; an absent cell has no value.
using ResultsRow = std::vector<std::optional<double>>;

// The rows of a run, one after the other in one block of `width` cells a row, so that a run
// keeps 8 bytes per cell and nothing per row. A cell without a value is not a number: the file
// writes it `null`, as it writes every value that is not finite, so the two need no telling
// apart; two tables are equal when their cells are, a not-a-number equal to any other.
struct ResultsTable {
  std::size_t width = 0;  // cells a row: the number of columns
  std::size_t rows = 0;   // kept apart, since rows of no cells still count
  std::vector<double> cells;

  friend bool operator==(const ResultsTable& a, const ResultsTable& b);
};

// The cells of row `i` (< table.rows).
std::span<const double> table_row(const ResultsTable& table, std::size_t i);

// Appends a row of `table.width` cells.
void append_table_row(ResultsTable& table, std::span<const double> cells);

// The rows as lists of cells, a cell that is not a number without a value.
std::vector<ResultsRow> table_rows(const ResultsTable& table);

// One note, warning or error of a run; a record of its own, not a source diagnostic.
struct ResultsDiagnostic {
  std::string code;      // such as "OV402"
  std::string severity;  // "note", "warning" or "error"
  std::string message;
  std::optional<std::uint64_t> at_row{};  // the row it refers to

  friend bool operator==(const ResultsDiagnostic&, const ResultsDiagnostic&) = default;
};

// One backend run before the simulation.
struct BackendRun {
  std::string name;
  std::string kind;
  std::string executable;
  std::string database;
  std::optional<std::string> database_sha256{};
  std::map<std::string, double> exports{};  // in ascending byte order of the keys

  friend bool operator==(const BackendRun&, const BackendRun&) = default;
};

inline constexpr std::string_view results_format_version = "1.1";

// What a run of the engine returns and the results file holds.
struct ResultsFile {
  std::string format_version{results_format_version};
  ResultsEngine engine;
  ResultsModel model;
  std::vector<ResultsColumn> columns;
  ResultsTable rows;
  std::vector<ResultsDiagnostic> diagnostics;  // in the order the engine appended them
  std::vector<BackendRun> backends;

  friend bool operator==(const ResultsFile&, const ResultsFile&) = default;
};

}  // namespace ovm::ir
