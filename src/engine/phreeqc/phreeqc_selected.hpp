#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/base/engine_error.hpp"
#include "engine/phreeqc/phreeqc_exports.hpp"
#include "ir/graph/graph_backends.hpp"

namespace ovm::engine {

// The numeric cells of the last row of a selected output, by column name in byte order.
using LastRow = std::map<std::string, double>;

// One row of a selected output read as a time series.
struct SeriesRow {
  double time = 0;  // s, never negative
  std::map<std::string, double> values;

  friend bool operator==(const SeriesRow&, const SeriesRow&) = default;
};

// What a backend's selected output yields: one value per export, in export order, and the
// last-row value of every exported column for the record of the run.
struct ExtractedExports {
  std::vector<BackendExportValue> values;
  std::map<std::string, double> columns;
};

// The entry itself when its extension is "sel" in any ASCII case.
std::optional<std::filesystem::path> find_selected_output(const std::filesystem::path& entry);

// The entries of a listing that are selected outputs, in listing order.
std::vector<std::filesystem::path> collect_selected_output_files(const std::vector<std::filesystem::path>& listing);

// The selected outputs in a directory, in byte order of their names; none when it cannot be
// listed.
std::vector<std::filesystem::path> list_selected_outputs(const std::filesystem::path& directory);

// The header's column names paired by position with the numeric cells of the last row.
std::variant<LastRow, EngineError> last_row_values(std::string_view text, const std::string& backend);

// Every row with a number in the "time" column, sorted by time (a negative one reads as 0);
// rows of equal time keep their file order.
std::variant<std::vector<SeriesRow>, EngineError> series_rows(std::string_view text, const std::string& backend);

// The (time, value) pairs of the rows that hold the column.
BackendSeries column_series(const std::vector<SeriesRow>& rows, const std::string& column);

// The value (mode oneshot) or series (mode series) of every export of the backend.
std::variant<ExtractedExports, EngineError> extract_exports(const ir::Backend& backend, std::string_view text);

// Reads the first selected output in the work directory and extracts the backend's exports.
std::variant<ExtractedExports, EngineError> read_selected_output(const ir::Backend& backend,
                                                                 const std::filesystem::path& work_directory);

}  // namespace ovm::engine
