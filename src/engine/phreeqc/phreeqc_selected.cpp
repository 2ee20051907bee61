#include "engine/phreeqc/phreeqc_selected.hpp"

#include <algorithm>
#include <cmath>

#include "diagnostics/text_file.hpp"
#include "diagnostics/utf8.hpp"
#include "engine/base/file_listing.hpp"
#include "engine/phreeqc/phreeqc_cell.hpp"
#include "engine/phreeqc/phreeqc_codes.hpp"
#include "engine/phreeqc/phreeqc_lines.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view selected_output_extension = "sel";
constexpr std::size_t selected_output_limit = std::size_t{1} << 32;

EngineError failure(std::string message) { return EngineError{backend_failure_code, std::move(message)}; }

std::string quoted(const std::string& name) { return "`" + name + "`"; }

// The lines of a selected output with the position of its header line. PHREEQC separates
// its cells with tabs; a file whose header holds none is split at white space.
struct Table {
  std::vector<std::string_view> lines;
  std::size_t header = 0;
  std::vector<std::string_view> names;
  bool tabbed = false;

  std::vector<std::string_view> cells(std::string_view line) const { return tabbed ? tab_fields(line) : line_fields(line); }
};

std::variant<Table, EngineError> read_table(std::string_view text, const std::string& backend) {
  Table table{text_lines(text), 0, {}};
  auto header = std::find_if(table.lines.begin(), table.lines.end(), [](std::string_view line) { return !is_blank_line(line); });
  if (header == table.lines.end()) return failure(quoted(backend) + " wrote an empty selected output");
  table.header = static_cast<std::size_t>(header - table.lines.begin());
  table.tabbed = header->find('\t') != std::string_view::npos;
  table.names = table.cells(*header);
  return table;
}

EngineError no_values(const std::string& backend) { return failure(quoted(backend) + " wrote headers but no values"); }

// Names and cells paired by position, as many as the shorter list holds; only numeric cells
// count, and a later column of the same name wins.
std::map<std::string, double> row_values(const Table& table, std::string_view line) {
  std::vector<std::string_view> cells = table.cells(line);
  std::map<std::string, double> values;
  for (std::size_t i = 0; i < std::min(table.names.size(), cells.size()); ++i) {
    if (std::optional<double> number = read_cell_number(cells[i])) {
      values.insert_or_assign(std::string(table.names[i]), *number);
    }
  }
  return values;
}

// Ascending time; a time that is not a number goes after every number, so the order stays a
// strict weak order.
bool earlier(const SeriesRow& a, const SeriesRow& b) {
  if (std::isnan(a.time) || std::isnan(b.time)) return !std::isnan(a.time) && std::isnan(b.time);
  return a.time < b.time;
}

std::string column_list(const LastRow& last_row) {
  if (last_row.empty()) return "nothing";
  std::string list;
  for (const auto& [name, value] : last_row) {
    if (!list.empty()) list += ", ";
    list += diagnostics::display_text(name);  // a name that is not UTF-8 is shown, not refused
  }
  return list;
}

}  // namespace

std::optional<fs::path> find_selected_output(const fs::path& entry) {
  if (!has_extension_folded(entry, selected_output_extension)) return std::nullopt;
  return entry;
}

std::vector<fs::path> collect_selected_output_files(const std::vector<fs::path>& listing) {
  return entries_with_extension(listing, selected_output_extension);
}

std::vector<fs::path> list_selected_outputs(const fs::path& directory) {
  std::optional<std::vector<fs::path>> listing = list_directory(directory);
  if (!listing) return {};
  std::vector<fs::path> files = collect_selected_output_files(*listing);
  std::sort(files.begin(), files.end());
  return files;
}

std::variant<LastRow, EngineError> last_row_values(std::string_view text, const std::string& backend) {
  std::variant<Table, EngineError> read = read_table(text, backend);
  if (auto* error = std::get_if<EngineError>(&read)) return std::move(*error);
  const Table& table = std::get<Table>(read);
  for (std::size_t i = table.lines.size(); i > table.header + 1; --i) {
    if (!is_blank_line(table.lines[i - 1])) return row_values(table, table.lines[i - 1]);
  }
  return no_values(backend);
}

std::variant<std::vector<SeriesRow>, EngineError> series_rows(std::string_view text, const std::string& backend) {
  std::variant<Table, EngineError> read = read_table(text, backend);
  if (auto* error = std::get_if<EngineError>(&read)) return std::move(*error);
  const Table& table = std::get<Table>(read);
  auto time_column = std::find(table.names.begin(), table.names.end(), "time");
  if (time_column == table.names.end()) {
    return failure(quoted(backend) + " is declared `mode series` and its selected output has no `time` column; add `-time` to its SELECTED_OUTPUT");
  }
  auto time_index = static_cast<std::size_t>(time_column - table.names.begin());
  std::vector<SeriesRow> rows;
  for (std::size_t i = table.header + 1; i < table.lines.size(); ++i) {
    std::vector<std::string_view> cells = table.cells(table.lines[i]);
    if (cells.size() <= time_index) continue;
    std::optional<double> time = read_cell_number(cells[time_index]);
    if (!time) continue;
    rows.push_back(SeriesRow{*time < 0 ? 0.0 : *time, row_values(table, table.lines[i])});
  }
  if (rows.empty()) return no_values(backend);
  std::stable_sort(rows.begin(), rows.end(), earlier);
  return rows;
}

BackendSeries column_series(const std::vector<SeriesRow>& rows, const std::string& column) {
  BackendSeries series;
  for (const SeriesRow& row : rows) {
    auto found = row.values.find(column);
    if (found != row.values.end()) series.push_back(SeriesPoint{row.time, found->second});
  }
  return series;
}

std::variant<ExtractedExports, EngineError> extract_exports(const ir::Backend& backend, std::string_view text) {
  std::variant<LastRow, EngineError> last = last_row_values(text, backend.name);
  if (auto* error = std::get_if<EngineError>(&last)) return std::move(*error);
  const LastRow& last_row = std::get<LastRow>(last);
  std::vector<SeriesRow> rows;
  if (backend.mode == ir::BackendMode::Series) {
    std::variant<std::vector<SeriesRow>, EngineError> read = series_rows(text, backend.name);
    if (auto* error = std::get_if<EngineError>(&read)) return std::move(*error);
    rows = std::move(std::get<std::vector<SeriesRow>>(read));
  }
  ExtractedExports extracted;
  for (const ir::BackendExport& item : backend.exports) {
    auto found = last_row.find(item.column);
    if (found == last_row.end()) {
      return failure(quoted(backend.name) + " produced no column named " + quoted(item.column) + "; it has: " + column_list(last_row));
    }
    extracted.columns.insert_or_assign(item.column, found->second);
    if (backend.mode == ir::BackendMode::Series) {
      extracted.values.push_back(BackendExportValue{BackendExportValue::Series{item.parameter, column_series(rows, item.column)}});
    } else {
      extracted.values.push_back(BackendExportValue{BackendExportValue::Oneshot{item.parameter, found->second}});
    }
  }
  return extracted;
}

std::variant<ExtractedExports, EngineError> read_selected_output(const ir::Backend& backend, const fs::path& work_directory) {
  std::vector<fs::path> files = list_selected_outputs(work_directory);
  if (files.empty()) {
    return failure(quoted(backend.name) + " wrote no selected output; the input needs a SELECTED_OUTPUT block for its results to reach the model");
  }
  // Only the first is read; the input decides what the others hold.
  std::string shown = diagnostics::display_text(files.front().string());
  // Read as bytes: a cell that is not UTF-8 matters only when an export reads it, and then it
  // is no number.
  std::variant<diagnostics::FileDescriptor, diagnostics::FileError> opened =
      diagnostics::open_regular_file(files.front().string());
  if (auto* error = std::get_if<diagnostics::FileError>(&opened)) return failure(shown + ": " + error->reason);
  std::string text;
  if (auto error = diagnostics::append_to_end(std::get<diagnostics::FileDescriptor>(opened).get(), text, selected_output_limit)) {
    return failure(shown + ": " + error->reason);
  }
  return extract_exports(backend, text);
}

}  // namespace ovm::engine
