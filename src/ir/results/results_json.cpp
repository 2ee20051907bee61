#include "ir/results/results_json.hpp"

namespace ovm::ir {
namespace {

// A member that only stands in the file when it has a value.
void present_string(JsonWriter& w, std::string_view key, const std::optional<std::string>& text) {
  if (text) json_member_string(w, key, *text);
}

void write_engine(JsonWriter& w, const ResultsEngine& engine) {
  json_begin_object(w);
  json_member_string(w, "name", engine.name);
  json_member_string(w, "version", engine.version);
  json_end_object(w);
}

void write_model(JsonWriter& w, const ResultsModel& model) {
  json_begin_object(w);
  json_member_string(w, "ir_version", model.ir_version);
  json_member_optional_string(w, "source_path", model.source_path);
  json_member_optional_string(w, "source_sha256", model.source_sha256);
  json_member_optional_string(w, "simulation", model.simulation);
  json_end_object(w);
}

void write_column(JsonWriter& w, const ResultsColumn& column) {
  json_begin_object(w);
  json_member_string(w, "name", column.name);
  json_member_string(w, "kind", column_kind_name(column.kind));
  json_member_string(w, "unit", column.unit);
  present_string(w, "reservoir", column.reservoir);
  present_string(w, "species", column.species);
  present_string(w, "isotope", column.isotope);
  present_string(w, "parameter", column.parameter);
  json_end_object(w);
}

void write_rows(JsonWriter& w, const ResultsTable& table) {
  json_key(w, "rows");
  json_begin_list(w);
  for (std::size_t i = 0; i < table.rows; ++i) {
    json_item(w);
    json_begin_list(w);
    for (double cell : table_row(table, i)) {
      json_item(w);
      json_double(w, cell);  // a cell without a value is not a number, which is written null
    }
    json_end_list(w);
  }
  json_end_list(w);
}

void write_diagnostic(JsonWriter& w, const ResultsDiagnostic& diagnostic) {
  json_begin_object(w);
  json_member_string(w, "code", diagnostic.code);
  json_member_string(w, "severity", diagnostic.severity);
  json_member_string(w, "message", diagnostic.message);
  if (diagnostic.at_row) json_member_unsigned(w, "at_row", *diagnostic.at_row);
  json_end_object(w);
}

void write_backend(JsonWriter& w, const BackendRun& run) {
  json_begin_object(w);
  json_member_string(w, "name", run.name);
  json_member_string(w, "kind", run.kind);
  json_member_string(w, "executable", run.executable);
  json_member_string(w, "database", run.database);
  present_string(w, "database_sha256", run.database_sha256);
  json_key(w, "exports");
  json_begin_object(w);
  for (const auto& [column, value] : run.exports) json_member_double(w, column, value);
  json_end_object(w);
  json_end_object(w);
}

}  // namespace

std::string_view column_kind_name(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Time: return "time";
    case ColumnKind::Amount: return "amount";
    case ColumnKind::Composition: return "composition";
    case ColumnKind::PoolComposition: return "pool_composition";
    case ColumnKind::FractionRemaining: return "fraction_remaining";
    case ColumnKind::Parameter: return "parameter";
  }
  return "time";
}

std::string results_error_text(const ResultsError& error) {
  return "writing results: " + error.writer_error.message;
}

namespace {

void write_results(JsonWriter& w, const ResultsFile& results, bool with_rows) {
  json_begin_object(w);
  json_member_string(w, "format_version", results.format_version);
  json_key(w, "engine");
  write_engine(w, results.engine);
  json_key(w, "model");
  write_model(w, results.model);
  json_member_list(w, "columns", results.columns, write_column);
  write_rows(w, with_rows ? results.rows : ResultsTable{});
  json_member_list(w, "diagnostics", results.diagnostics, write_diagnostic);
  if (!results.backends.empty()) json_member_list(w, "backends", results.backends, write_backend);
  json_end_object(w);
}

}  // namespace

std::variant<std::string, ResultsError> results_to_json(const ResultsFile& results) {
  JsonWriter w;
  write_results(w, results, true);
  auto finished = json_finish(std::move(w));
  if (auto* error = std::get_if<JsonWriteError>(&finished)) return ResultsError{*error};
  return std::get<std::string>(std::move(finished));
}

std::optional<ResultsError> results_json_error(const ResultsFile& results) {
  JsonWriter w;
  write_results(w, results, false);
  if (w.error) return ResultsError{*w.error};
  return std::nullopt;
}

bool write_results_json(const ResultsFile& results, const std::function<bool(std::string_view)>& put) {
  if (results_json_error(results)) return false;
  JsonWriter w;
  w.sink = put;
  write_results(w, results, true);
  return json_finish_to_sink(w);
}

}  // namespace ovm::ir
