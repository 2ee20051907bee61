#include "results_shape.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ir/json/json_input.hpp"
#include "ir/json/json_kept.hpp"
#include "ir/json/json_number.hpp"
#include "ir/json/json_text.hpp"

namespace ovm::fuzz {
namespace {

using ir::JsonKind;
using ir::KeptValue;

// The text a JSON string is written as: quotation mark and backslash escaped, the short
// escapes where JSON has them, every other control character as \u00xx, the rest as it is.
void append_string(std::string& out, std::string_view text) {
  static constexpr char hex[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20) {
          out += "\\u00";
          out += hex[byte >> 4];
          out += hex[byte & 0xf];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

// The value as the pretty printer lays it out, starting at the given depth.
void append_pretty(std::string& out, const KeptValue& value, std::size_t depth) {
  auto newline = [&](std::size_t level) { out += '\n' + std::string(2 * level, ' '); };
  switch (value.kind) {
    case JsonKind::Null: out += "null"; return;
    case JsonKind::Boolean: out += value.boolean ? "true" : "false"; return;
    case JsonKind::Unsigned:
    case JsonKind::Negative:
    case JsonKind::Float: out += value.number.text; return;
    case JsonKind::String: append_string(out, value.text); return;
    case JsonKind::Array:
      if (value.elements.empty()) {
        out += "[]";
        return;
      }
      out += '[';
      for (std::size_t i = 0; i < value.elements.size(); ++i) {
        if (i > 0) out += ',';
        newline(depth + 1);
        append_pretty(out, value.elements[i], depth + 1);
      }
      newline(depth);
      out += ']';
      return;
    case JsonKind::Object:
      if (value.members.empty()) {
        out += "{}";
        return;
      }
      out += '{';
      for (std::size_t i = 0; i < value.members.size(); ++i) {
        if (i > 0) out += ',';
        newline(depth + 1);
        append_string(out, value.members[i].key);
        out += ": ";
        append_pretty(out, value.members[i].value, depth + 1);
      }
      newline(depth);
      out += '}';
      return;
  }
}

// Checks one object against the keys it must have, in order, and hands out their values.
class ObjectShape {
 public:
  ObjectShape(const KeptValue& value, std::string_view what) : value_(value), what_(what) {
    if (value.kind != JsonKind::Object) fail("is no object");
  }

  // The next member, which must be this key.
  const KeptValue* next(std::string_view key) {
    if (finding_) return nullptr;
    if (at_ >= value_.members.size() || value_.members[at_].key != key) {
      fail("lacks `" + std::string(key) + "` where it is due");
      return nullptr;
    }
    return &value_.members[at_++].value;
  }

  // The next member when it is this key; nothing, and no finding, otherwise.
  const KeptValue* next_if(std::string_view key) {
    if (finding_ || at_ >= value_.members.size() || value_.members[at_].key != key) return nullptr;
    return &value_.members[at_++].value;
  }

  void expect_string(std::string_view key, std::string_view expected) {
    const KeptValue* value = next(key);
    if (value && (value->kind != JsonKind::String || value->text != expected)) fail("`" + std::string(key) + "` is wrong");
  }

  // A key always written: the text, or null when absent.
  void expect_nullable(std::string_view key, const std::optional<std::string>& expected) {
    const KeptValue* value = next(key);
    if (!value) return;
    bool right = expected ? value->kind == JsonKind::String && value->text == *expected : value->kind == JsonKind::Null;
    if (!right) fail("`" + std::string(key) + "` is wrong");
  }

  // A key written only when present.
  void expect_present(std::string_view key, const std::optional<std::string>& expected) {
    if (!expected) return;
    const KeptValue* value = next(key);
    if (value && (value->kind != JsonKind::String || value->text != *expected)) fail("`" + std::string(key) + "` is wrong");
  }

  void fail(const std::string& why) {
    if (!finding_) finding_ = std::string(what_) + " " + why;
  }

  // The finding, also when members are left over.
  Finding done() {
    if (!finding_ && at_ != value_.members.size()) fail("has a member too many: `" + value_.members[at_].key + "`");
    return finding_;
  }

 private:
  const KeptValue& value_;
  std::string_view what_;
  std::size_t at_ = 0;
  Finding finding_;
};

bool same_number(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// A number cell is written as the shortest text that reads back as its double.
Finding check_cell(const KeptValue& cell, const std::optional<double>& value) {
  if (!value || !std::isfinite(*value)) {
    if (cell.kind == JsonKind::Null) return std::nullopt;
    return "a cell without a finite value is not null";
  }
  if (cell.kind != JsonKind::Float) return "a cell with a value is no number with a point or an exponent";
  if (!same_number(cell.number.value, *value)) return "a cell reads back as another number: " + cell.number.text;
  if (cell.number.text != ir::json_number_text(*value)) return "a cell is not in its shortest form: " + cell.number.text;
  return std::nullopt;
}

Finding check_columns(const KeptValue& columns, const ir::ResultsFile& results) {
  if (columns.kind != JsonKind::Array || columns.elements.size() != results.columns.size()) {
    return "`columns` is not one object per column";
  }
  for (std::size_t i = 0; i < results.columns.size(); ++i) {
    const ir::ResultsColumn& column = results.columns[i];
    ObjectShape shape(columns.elements[i], "a column");
    shape.expect_string("name", column.name);
    shape.expect_string("kind", ir::column_kind_name(column.kind));
    shape.expect_string("unit", column.unit);
    shape.expect_present("reservoir", column.reservoir);
    shape.expect_present("species", column.species);
    shape.expect_present("isotope", column.isotope);
    shape.expect_present("parameter", column.parameter);
    if (Finding finding = shape.done()) return finding;
  }
  return std::nullopt;
}

Finding check_rows(const KeptValue& rows, const ir::ResultsFile& results) {
  std::vector<ir::ResultsRow> table = ir::table_rows(results.rows);
  if (rows.kind != JsonKind::Array || rows.elements.size() != table.size()) return "`rows` is not one list per row";
  for (std::size_t i = 0; i < table.size(); ++i) {
    const KeptValue& row = rows.elements[i];
    if (table[i].size() != results.columns.size()) return "a row has not one cell per column";
    if (row.kind != JsonKind::Array || row.elements.size() != table[i].size()) return "a row is written with other cells";
    for (std::size_t j = 0; j < row.elements.size(); ++j) {
      if (Finding finding = check_cell(row.elements[j], table[i][j])) return finding;
    }
  }
  return std::nullopt;
}

bool is_code(std::string_view code) {
  return code.size() == 5 && code.starts_with("OV") &&
         std::all_of(code.begin() + 2, code.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Finding check_diagnostics(const KeptValue& diagnostics, const ir::ResultsFile& results) {
  if (diagnostics.kind != JsonKind::Array || diagnostics.elements.size() != results.diagnostics.size()) {
    return "`diagnostics` is not one object per diagnostic";
  }
  for (std::size_t i = 0; i < results.diagnostics.size(); ++i) {
    const ir::ResultsDiagnostic& diagnostic = results.diagnostics[i];
    if (!is_code(diagnostic.code)) return "a diagnostic has the code `" + diagnostic.code + "`";
    if (diagnostic.severity != "note" && diagnostic.severity != "warning" && diagnostic.severity != "error") {
      return "a diagnostic has the severity `" + diagnostic.severity + "`";
    }
    ObjectShape shape(diagnostics.elements[i], "a diagnostic");
    shape.expect_string("code", diagnostic.code);
    shape.expect_string("severity", diagnostic.severity);
    shape.expect_string("message", diagnostic.message);
    if (diagnostic.at_row) {
      const KeptValue* row = shape.next("at_row");
      if (row && (row->kind != JsonKind::Unsigned || row->number.text != ir::json_unsigned_text(*diagnostic.at_row))) {
        shape.fail("has a wrong `at_row`");
      }
    }
    if (Finding finding = shape.done()) return finding;
  }
  return std::nullopt;
}

Finding check_backends(const KeptValue* backends, const ir::ResultsFile& results) {
  if (results.backends.empty()) return backends ? Finding("`backends` is written without backend runs") : std::nullopt;
  if (!backends || backends->kind != JsonKind::Array || backends->elements.size() != results.backends.size()) {
    return "`backends` is not one object per backend run";
  }
  for (std::size_t i = 0; i < results.backends.size(); ++i) {
    const ir::BackendRun& run = results.backends[i];
    ObjectShape shape(backends->elements[i], "a backend run");
    shape.expect_string("name", run.name);
    shape.expect_string("kind", run.kind);
    shape.expect_string("executable", run.executable);
    shape.expect_string("database", run.database);
    shape.expect_present("database_sha256", run.database_sha256);
    const KeptValue* exports = shape.next("exports");
    if (exports) {
      ObjectShape members(*exports, "the exports of a backend run");
      for (const auto& [column, value] : run.exports) {
        const KeptValue* cell = members.next(column);
        if (cell) {
          if (Finding finding = check_cell(*cell, value)) return finding;
        }
      }
      if (Finding finding = members.done()) return finding;
    }
    if (Finding finding = shape.done()) return finding;
  }
  return std::nullopt;
}

// A failed run holds its one error and nothing of the simulation; a run without an error
// recorded its first row at least.
Finding check_outcome(const ir::ResultsFile& results) {
  auto errors = std::count_if(results.diagnostics.begin(), results.diagnostics.end(),
                              [](const ir::ResultsDiagnostic& d) { return d.severity == "error"; });
  if (errors == 0) return results.rows.rows == 0 ? Finding("a run without an error recorded no row") : std::nullopt;
  if (errors > 1 || results.diagnostics.size() != 1) return "a failed run holds more than its one error";
  if (!results.columns.empty() || results.rows.rows != 0) return "a failed run holds columns or rows";
  return std::nullopt;
}

}  // namespace

Finding check_results_text(std::string_view text, const ir::ResultsFile& results) {
  KeptValue root;
  ir::JsonStatus error = ir::read_json_document(text, [&](ir::JsonInput in) { return ir::keep_value(*in.reader, &root); });
  if (error) return "the results file is no JSON document: " + ir::json_error_text(*error);
  std::string pretty;
  append_pretty(pretty, root, 0);
  if (pretty != text) return "the results file is not laid out as the pretty printer lays it out";

  ObjectShape shape(root, "the results file");
  shape.expect_string("format_version", results.format_version);
  if (results.format_version != ir::results_format_version) return "the results carry another format version";
  if (const KeptValue* engine = shape.next("engine")) {
    ObjectShape inner(*engine, "`engine`");
    inner.expect_string("name", results.engine.name);
    inner.expect_string("version", results.engine.version);
    if (Finding finding = inner.done()) return finding;
  }
  if (const KeptValue* model = shape.next("model")) {
    ObjectShape inner(*model, "`model`");
    inner.expect_string("ir_version", results.model.ir_version);
    inner.expect_nullable("source_path", results.model.source_path);
    inner.expect_nullable("source_sha256", results.model.source_sha256);
    inner.expect_nullable("simulation", results.model.simulation);
    if (Finding finding = inner.done()) return finding;
  }
  const KeptValue* columns = shape.next("columns");
  const KeptValue* rows = shape.next("rows");
  const KeptValue* diagnostics = shape.next("diagnostics");
  const KeptValue* backends = shape.next_if("backends");
  if (Finding finding = shape.done()) return finding;
  if (Finding finding = check_columns(*columns, results)) return finding;
  if (Finding finding = check_rows(*rows, results)) return finding;
  if (Finding finding = check_diagnostics(*diagnostics, results)) return finding;
  if (Finding finding = check_backends(backends, results)) return finding;
  return check_outcome(results);
}

}  // namespace ovm::fuzz
