#include "engine/phreeqc_run.hpp"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "diagnostics/number_text.hpp"
#include "diagnostics/text_file.hpp"
#include "diagnostics/utf8.hpp"
#include "engine/file_listing.hpp"
#include "engine/phreeqc_child.hpp"
#include "engine/phreeqc_codes.hpp"
#include "engine/phreeqc_exit_status.hpp"
#include "engine/phreeqc_lines.hpp"
#include "engine/phreeqc_locate.hpp"
#include "engine/phreeqc_selected.hpp"
#include "engine/sha256.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

constexpr const char* output_file_name = "phreeqc.out";
constexpr std::size_t shown_lines = 3;

std::string shown(const fs::path& path) { return diagnostics::display_text(path.string()); }

EngineError failure(std::string message) { return EngineError{backend_failure_code, std::move(message)}; }

EngineError platform_failure(const fs::path& path, const std::string& reason) { return failure(shown(path) + ": " + reason); }

std::string work_directory_name() { return "ovm-phreeqc-" + std::to_string(::getpid()); }

// The temporary directory as the environment names it, whether or not it exists yet: the work
// directory is created with any missing parents.
fs::path temporary_directory() {
  for (const char* variable : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "/tmp";
}

// The work directory exists afterwards and holds no selected output of an earlier backend.
std::variant<fs::path, EngineError> prepare_work_directory() {
  fs::path directory = temporary_directory() / work_directory_name();
  std::error_code error;
  fs::create_directories(directory, error);
  if (error) return platform_failure(directory, error.message());
  // Only files are removed (unlink refuses directories); what cannot be removed stays.
  for (const fs::path& stale : list_selected_outputs(directory)) ::unlink(stale.c_str());
  return directory;
}

EngineError exited(const ChildOutcome& outcome) {
  std::string message = "PHREEQC exited with " + exit_status_text(outcome.status);
  std::vector<std::string> last = last_nonempty_lines(diagnostics::display_text(outcome.standard_error), shown_lines);
  if (!last.empty()) message += ": " + join_lines(last);
  return failure(std::move(message));
}

// Runs the program to its end within the limit; an output file that cannot be read says
// nothing, one with ERROR lines ends the run.
std::optional<EngineError> run_phreeqc(const fs::path& executable, const std::vector<std::string>& arguments,
                                       const fs::path& work_directory, const fs::path& output_file,
                                       std::chrono::milliseconds time_limit) {
  std::variant<ChildProcess, std::string> started = ChildProcess::start(executable.string(), arguments, work_directory);
  if (auto* reason = std::get_if<std::string>(&started)) return platform_failure(executable, *reason);
  ChildProcess& child = std::get<ChildProcess>(started);
  std::variant<WaitEnd, std::string> waited = wait_with_limit(child, time_limit, phreeqc_poll_interval);
  if (auto* reason = std::get_if<std::string>(&waited)) return platform_failure(executable, *reason);
  if (std::get<WaitEnd>(waited) == WaitEnd::TimedOut) return phreeqc_timeout_error(time_limit);
  std::variant<ChildOutcome, std::string> collected = child.collect();
  if (auto* reason = std::get_if<std::string>(&collected)) return platform_failure(executable, *reason);
  const ChildOutcome& outcome = std::get<ChildOutcome>(collected);
  if (!outcome.status.success()) return exited(outcome);
  std::variant<std::string, diagnostics::FileError> output = diagnostics::read_text_file(output_file.string());
  if (const auto* text = std::get_if<std::string>(&output)) {
    std::vector<std::string> errors = error_lines(*text, shown_lines);
    if (!errors.empty()) return failure("PHREEQC refused its input: " + join_lines(errors));
  }
  return std::nullopt;
}

std::optional<EngineError> run_backend(const ir::Backend& backend, const std::optional<fs::path>& model_directory,
                                       std::chrono::milliseconds time_limit, BackendResults& results) {
  std::optional<fs::path> executable = find_phreeqc_executable();
  if (!executable) {
    return EngineError{backend_unavailable_code, "`" + backend.name + "` needs PHREEQC and no executable was found; set " +
                                                     phreeqc_variable + " to its path"};
  }
  fs::path input = absolute_path(model_directory, backend.input_path);
  if (!is_existing_file(input)) return missing_file_error(input);
  std::variant<fs::path, EngineError> work = prepare_work_directory();
  if (auto* failed = std::get_if<EngineError>(&work)) return std::move(*failed);
  const fs::path& work_directory = std::get<fs::path>(work);
  fs::path output_file = work_directory / output_file_name;
  std::variant<fs::path, EngineError> database = choose_phreeqc_database(backend, model_directory, *executable);
  if (auto* failed = std::get_if<EngineError>(&database)) return std::move(*failed);
  const fs::path& database_path = std::get<fs::path>(database);
  // The child runs in the work directory, so a database named relative to ours (as the
  // variable or the directory near a bare executable name may give it) is handed over whole;
  // the run records it as it was chosen.
  fs::path database_argument = absolute_path(std::nullopt, database_path.string());
  std::vector<std::string> arguments = {input.string(), output_file.string(), database_argument.string()};
  if (std::optional<EngineError> failed = run_phreeqc(*executable, arguments, work_directory, output_file, time_limit)) {
    return failed;
  }
  std::variant<ExtractedExports, EngineError> extracted = read_selected_output(backend, work_directory);
  if (auto* failed = std::get_if<EngineError>(&extracted)) return std::move(*failed);
  ExtractedExports& exports = std::get<ExtractedExports>(extracted);
  ir::BackendRun run{backend.name, "phreeqc", executable->string(), shown(database_path)};
  // A database that cannot be read now only goes without its digest.
  std::variant<std::string, diagnostics::FileError> digest = sha256_file_hex(database_path.string());
  if (auto* text = std::get_if<std::string>(&digest)) run.database_sha256 = std::move(*text);
  run.exports = std::move(exports.columns);
  results.runs.push_back(std::move(run));
  for (BackendExportValue& value : exports.values) results.values.push_back(std::move(value));
  return std::nullopt;
}

}  // namespace

EngineError phreeqc_timeout_error(std::chrono::milliseconds limit) {
  std::string seconds = diagnostics::plain_decimal(static_cast<double>(limit.count()) / 1000.0);
  return EngineError{backend_timeout_code, "PHREEQC did not finish within " + seconds +
                                               " s and was stopped;                              it usually means it "
                                               "could not open a file and waited for one"};
}

std::variant<BackendResults, EngineError> run_backends_within(const ir::ModelGraph& graph,
                                                              const std::optional<fs::path>& model_directory,
                                                              std::chrono::milliseconds time_limit) {
  BackendResults results;
  for (const ir::Backend& backend : graph.backends) {
    if (std::optional<EngineError> error = run_backend(backend, model_directory, time_limit, results)) return std::move(*error);
  }
  return results;
}

std::variant<BackendResults, EngineError> run_backends(const ir::ModelGraph& graph,
                                                       const std::optional<fs::path>& model_directory) {
  return run_backends_within(graph, model_directory, phreeqc_time_limit);
}

}  // namespace ovm::engine
