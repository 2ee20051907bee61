#include "selected_output.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "engine/phreeqc/phreeqc_cell.hpp"
#include "engine/phreeqc/phreeqc_lines.hpp"
#include "engine/phreeqc/phreeqc_selected.hpp"

namespace ovm::fuzz {
namespace {

using Values = std::map<std::string, double>;

constexpr std::size_t exported_columns = 8;
const std::string backend_name = "fuzz";

bool same_number(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

bool same_values(const Values& a, const Values& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
           return x.first == y.first && same_number(x.second, y.second);
         });
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The cell grammar as a state machine over the bytes after an optional sign.
bool grammar_says_number(std::string_view cell) {
  if (!cell.empty() && (cell[0] == '+' || cell[0] == '-')) cell.remove_prefix(1);
  std::string lower;
  for (char c : cell) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  if (lower == "inf" || lower == "infinity" || lower == "nan") return true;
  enum State { Start, Whole, PointAfterDigits, LonePoint, Fraction, Exponent, ExponentSign, ExponentDigits, Refused };
  State state = Start;
  for (char c : cell) {
    bool digit = is_digit(c);
    bool e = c == 'e' || c == 'E';
    switch (state) {
      case Start: state = digit ? Whole : c == '.' ? LonePoint : Refused; break;
      case Whole: state = digit ? Whole : c == '.' ? PointAfterDigits : e ? Exponent : Refused; break;
      case PointAfterDigits:
      case Fraction: state = digit ? Fraction : e ? Exponent : Refused; break;
      case LonePoint: state = digit ? Fraction : Refused; break;
      case Exponent: state = digit ? ExponentDigits : (c == '+' || c == '-') ? ExponentSign : Refused; break;
      case ExponentSign:
      case ExponentDigits: state = digit ? ExponentDigits : Refused; break;
      case Refused: break;
    }
  }
  return state == Whole || state == PointAfterDigits || state == Fraction || state == ExponentDigits;
}

Finding check_cell(std::string_view cell) {
  std::optional<double> read = engine::read_cell_number(cell);
  if (read.has_value() != grammar_says_number(cell)) {
    return "the cell `" + std::string(cell) + "` is " + (read ? "" : "not ") + "read as a number";
  }
  if (!read) return std::nullopt;
  std::string text(cell);
  double expected = std::strtod(text.c_str(), nullptr);  // the C locale: a point, no grouping
  if (std::isnan(expected) ? !std::isnan(*read) : !same_number(*read, expected)) {
    return "the cell `" + text + "` is read as another number than strtod gives";
  }
  return std::nullopt;
}

// The file as the reader must see it: the header, whether it is split at tabs, and the cells.
struct Table {
  std::vector<std::string_view> lines;
  std::optional<std::size_t> header;
  bool tabbed = false;
  std::vector<std::string_view> names;

  std::vector<std::string_view> cells(std::string_view line) const {
    return tabbed ? engine::tab_fields(line) : engine::line_fields(line);
  }
};

Table table_of(std::string_view text) {
  Table table;
  table.lines = engine::text_lines(text);
  for (std::size_t i = 0; i < table.lines.size() && !table.header; ++i) {
    if (!engine::is_blank_line(table.lines[i])) table.header = i;
  }
  if (!table.header) return table;
  table.tabbed = table.lines[*table.header].find('\t') != std::string_view::npos;
  table.names = table.cells(table.lines[*table.header]);
  return table;
}

Values row_values(const Table& table, std::string_view line) {
  std::vector<std::string_view> cells = table.cells(line);
  Values values;
  for (std::size_t i = 0; i < table.names.size() && i < cells.size(); ++i) {
    if (grammar_says_number(cells[i])) values[std::string(table.names[i])] = *engine::read_cell_number(cells[i]);
  }
  return values;
}

// The message the reader must give, or the values of the last row.
std::variant<Values, std::string> expected_last_row(const Table& table) {
  if (!table.header) return "`fuzz` wrote an empty selected output";
  for (std::size_t i = table.lines.size(); i > *table.header + 1; --i) {
    if (!engine::is_blank_line(table.lines[i - 1])) return row_values(table, table.lines[i - 1]);
  }
  return "`fuzz` wrote headers but no values";
}

std::variant<std::vector<engine::SeriesRow>, std::string> expected_series(const Table& table) {
  auto time = std::find(table.names.begin(), table.names.end(), "time");
  if (time == table.names.end()) {
    return "`fuzz` is declared `mode series` and its selected output has no `time` column; add `-time` to its "
           "SELECTED_OUTPUT";
  }
  auto column = static_cast<std::size_t>(time - table.names.begin());
  std::vector<engine::SeriesRow> rows;
  for (std::size_t i = *table.header + 1; i < table.lines.size(); ++i) {
    std::vector<std::string_view> cells = table.cells(table.lines[i]);
    if (cells.size() <= column || !grammar_says_number(cells[column])) continue;
    double at = *engine::read_cell_number(cells[column]);
    rows.push_back(engine::SeriesRow{at < 0 ? 0.0 : at, row_values(table, table.lines[i])});
  }
  if (rows.empty()) return "`fuzz` wrote headers but no values";
  // Insertion keeps equal times in file order; a time that is not a number goes last.
  std::vector<engine::SeriesRow> sorted;
  for (engine::SeriesRow& row : rows) {
    auto after = std::find_if(sorted.begin(), sorted.end(), [&](const engine::SeriesRow& placed) {
      return std::isnan(row.time) ? false : (std::isnan(placed.time) || row.time < placed.time);
    });
    sorted.insert(after, std::move(row));
  }
  return sorted;
}

bool same_rows(const std::vector<engine::SeriesRow>& a, const std::vector<engine::SeriesRow>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
           return same_number(x.time, y.time) && same_values(x.values, y.values);
         });
}

// A backend that exports the first distinct column names of the header, each into a
// parameter of its own.
ir::Backend exporting_backend(const Table& table, ir::BackendMode mode) {
  ir::Backend backend;
  backend.name = backend_name;
  backend.mode = mode;
  for (std::string_view name : table.names) {
    if (backend.exports.size() == exported_columns) break;
    bool known = std::any_of(backend.exports.begin(), backend.exports.end(),
                             [&](const ir::BackendExport& e) { return e.column == name; });
    if (!known) backend.exports.push_back(ir::BackendExport{std::string(name), ir::ParameterId{static_cast<std::uint32_t>(backend.exports.size())}});
  }
  return backend;
}

Finding check_exports(const ir::Backend& backend, const Values& last,
                      const std::vector<engine::SeriesRow>& rows, std::string_view text) {
  auto extracted = engine::extract_exports(backend, text);
  auto missing = std::find_if(backend.exports.begin(), backend.exports.end(),
                              [&](const ir::BackendExport& e) { return !last.contains(e.column); });
  if (missing != backend.exports.end()) {
    const auto* error = std::get_if<engine::EngineError>(&extracted);
    std::string start = "`fuzz` produced no column named `" + missing->column + "`; it has: ";
    if (error == nullptr || !error->message.starts_with(start)) return "an export of a missing column was not refused";
    return std::nullopt;
  }
  if (const auto* error = std::get_if<engine::EngineError>(&extracted)) return "the exports failed: " + error->message;
  const engine::ExtractedExports& exports = std::get<engine::ExtractedExports>(extracted);
  if (exports.values.size() != backend.exports.size()) return "not one value per export";
  for (std::size_t i = 0; i < backend.exports.size(); ++i) {
    const std::string& column = backend.exports[i].column;
    if (!exports.columns.contains(column) || !same_number(exports.columns.at(column), last.at(column))) {
      return "the run record lacks the last value of `" + column + "`";
    }
    const engine::BackendExportValue& value = exports.values[i];
    if (backend.mode == ir::BackendMode::Oneshot) {
      const auto* oneshot = std::get_if<engine::BackendExportValue::Oneshot>(&value.kind);
      if (oneshot == nullptr || !same_number(oneshot->value, last.at(column))) return "a oneshot export is not its last value";
      continue;
    }
    const auto* series = std::get_if<engine::BackendExportValue::Series>(&value.kind);
    if (series == nullptr) return "a series export holds no series";
    engine::BackendSeries expected;
    for (const engine::SeriesRow& row : rows) {
      if (auto found = row.values.find(column); found != row.values.end()) expected.push_back({row.time, found->second});
    }
    bool same = series->series.size() == expected.size() &&
                std::equal(expected.begin(), expected.end(), series->series.begin(), [](const auto& x, const auto& y) {
                  return same_number(x.time, y.time) && same_number(x.value, y.value);
                });
    if (!same) return "the series of `" + column + "` is not its rows' values";
  }
  return std::nullopt;
}

Finding check_error(const std::string& expected, const std::optional<engine::EngineError>& error, std::string_view what) {
  if (!error) return std::string(what) + " did not fail with: " + expected;
  if (error->message != expected || error->code != "OV402") return std::string(what) + " failed with another error: " + error->message;
  return std::nullopt;
}

template <class T>
std::optional<engine::EngineError> error_of(const std::variant<T, engine::EngineError>& result) {
  if (const auto* error = std::get_if<engine::EngineError>(&result)) return *error;
  return std::nullopt;
}

}  // namespace

Finding check_selected_output(std::string_view bytes) {
  Table table = table_of(bytes);
  for (std::string_view line : table.lines) {
    for (std::string_view cell : engine::line_fields(line)) {
      if (Finding finding = check_cell(cell)) return finding;
    }
    for (std::string_view cell : engine::tab_fields(line)) {
      if (Finding finding = check_cell(cell)) return finding;
    }
  }

  std::variant<Values, std::string> expected = expected_last_row(table);
  auto last = engine::last_row_values(bytes, backend_name);
  if (const auto* message = std::get_if<std::string>(&expected)) return check_error(*message, error_of(last), "the last row");
  if (const auto* error = std::get_if<engine::EngineError>(&last)) return "the last row failed: " + error->message;
  const Values& last_values = std::get<Values>(expected);
  if (!same_values(std::get<engine::LastRow>(last), last_values)) return "the last row holds other values";
  if (Finding finding = check_exports(exporting_backend(table, ir::BackendMode::Oneshot), last_values, {}, bytes)) {
    return finding;
  }

  auto series = expected_series(table);
  auto read = engine::series_rows(bytes, backend_name);
  ir::Backend backend = exporting_backend(table, ir::BackendMode::Series);
  if (const auto* message = std::get_if<std::string>(&series)) {
    if (Finding finding = check_error(*message, error_of(read), "the series")) return finding;
    return check_error(*message, error_of(engine::extract_exports(backend, bytes)), "the series exports");
  }
  if (const auto* error = std::get_if<engine::EngineError>(&read)) return "the series failed: " + error->message;
  const auto& rows = std::get<std::vector<engine::SeriesRow>>(series);
  if (!same_rows(std::get<std::vector<engine::SeriesRow>>(read), rows)) return "the series rows differ";
  return check_exports(backend, last_values, rows, bytes);
}

}  // namespace ovm::fuzz
