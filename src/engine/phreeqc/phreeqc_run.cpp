#include "engine/phreeqc/phreeqc_run.hpp"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

#include "diagnostics/number_text.hpp"
#include "diagnostics/text_file.hpp"
#include "diagnostics/text_match.hpp"
#include "diagnostics/utf8.hpp"
#include "engine/base/file_listing.hpp"
#include "engine/base/sha256.hpp"
#include "engine/phreeqc/phreeqc_child.hpp"
#include "engine/phreeqc/phreeqc_codes.hpp"
#include "engine/phreeqc/phreeqc_exit_status.hpp"
#include "engine/phreeqc/phreeqc_lines.hpp"
#include "engine/phreeqc/phreeqc_locate.hpp"
#include "engine/phreeqc/phreeqc_selected.hpp"
#include "sema/statement_text.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

constexpr const char* output_file_name = "phreeqc.out";
constexpr std::size_t shown_lines = 3;

std::string shown(const fs::path& path) { return diagnostics::display_text(path.string()); }

EngineError failure(std::string message) { return EngineError{backend_failure_code, std::move(message)}; }

EngineError platform_failure(const fs::path& path, const std::string& reason) { return failure(shown(path) + ": " + reason); }

// The temporary directory as the environment names it, made absolute (the child runs
// elsewhere), whether or not it exists yet: it is created with any missing parents.
fs::path temporary_directory() {
  for (const char* variable : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return absolute_path(std::nullopt, value);
  }
  return "/tmp";
}

// A directory of this run's own, made fresh (never one that stood there before, so nothing
// planted at a guessable name is followed), readable by its owner only, and removed with
// everything in it when the run's backends are done, whatever their outcome.
class WorkDirectory {
 public:
  static std::variant<WorkDirectory, EngineError> create() {
    fs::path parent = temporary_directory();
    std::error_code error;
    fs::create_directories(parent, error);
    std::string pattern = (parent / "ovm-phreeqc-XXXXXX").string();
    if (error) return platform_failure(pattern, error.message());
    if (::mkdtemp(pattern.data()) == nullptr) return platform_failure(pattern, std::strerror(errno));
    return WorkDirectory(fs::path(pattern));
  }

  WorkDirectory(WorkDirectory&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
  WorkDirectory& operator=(WorkDirectory&&) = delete;
  WorkDirectory(const WorkDirectory&) = delete;
  WorkDirectory& operator=(const WorkDirectory&) = delete;
  ~WorkDirectory() {
    if (path_.empty()) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }

  const fs::path& path() const { return path_; }

 private:
  explicit WorkDirectory(fs::path path) : path_(std::move(path)) {}
  fs::path path_;
};

// Before each backend: no selected output of an earlier one. Only files are removed (unlink
// refuses directories); what cannot be removed stays.
void remove_stale_selected_output(const fs::path& directory) {
  for (const fs::path& stale : list_selected_outputs(directory)) ::unlink(stale.c_str());
}

// Every error of a backend says which backend it is about.
EngineError named(const ir::Backend& backend, EngineError error) {
  std::string name = "`" + backend.name + "`";
  if (error.message.find(name) == std::string::npos) error.message = name + ": " + error.message;
  return error;
}

// PHREEQC's own ERROR lines say what is wrong; the line that only says it stops does not.
std::vector<std::string> telling_error_lines(std::string_view standard_error) {
  std::vector<std::string> telling;
  for (std::string& line : error_lines(standard_error, std::numeric_limits<std::size_t>::max())) {
    if (telling.size() == shown_lines) break;
    if (line.find("Calculations terminating due to input errors") != std::string::npos) continue;
    telling.push_back(std::move(line));
  }
  return telling;
}

EngineError exited(const ChildOutcome& outcome) {
  std::string message = "PHREEQC exited with " + exit_status_text(outcome.status);
  std::string standard_error = diagnostics::display_text(outcome.standard_error);
  // What comes before "Initializing..." is only file names and the banner.
  constexpr std::string_view banner_end = "Initializing...";
  if (std::size_t end = standard_error.find(banner_end); end != std::string::npos) {
    standard_error.erase(0, end + banner_end.size());
  }
  std::vector<std::string> shown_error = telling_error_lines(standard_error);
  if (shown_error.empty()) shown_error = last_nonempty_lines(standard_error, shown_lines);
  if (!shown_error.empty()) message += ": " + join_lines(shown_error);
  return failure(std::move(message));
}

// The files PHREEQC was handed, by the word its prompt for another name uses.
struct HandedFiles {
  fs::path input;
  fs::path output;
  fs::path database;
};

// The file PHREEQC could not open, once its standard error shows the prompt it then repeats
// for ever ("Name of database file?"): the name in the "ERROR: Cannot open file, ...." line
// before it, or else the file of that kind it was handed.
std::optional<std::string> unopened_file(std::string_view standard_error, const HandedFiles& files) {
  // The last whole prompt: only the end of standard error is kept, so its start may be cut.
  constexpr std::string_view prompt_start = "Name of ";
  std::size_t question = standard_error.rfind(" file?\n");
  if (question == std::string_view::npos) return std::nullopt;
  std::size_t prompt = standard_error.rfind(prompt_start, question);
  if (prompt == std::string_view::npos) return std::nullopt;
  constexpr std::string_view cannot_open = "Cannot open file, ";
  std::size_t named = standard_error.rfind(cannot_open, prompt);
  if (named != std::string_view::npos) {
    std::size_t start = named + cannot_open.size();
    std::size_t end = standard_error.find('\n', start);
    std::string_view name = standard_error.substr(start, end == std::string_view::npos ? end : end - start);
    if (name.ends_with('.')) name.remove_suffix(1);
    if (!name.empty()) return diagnostics::display_text(name);
  }
  std::string_view kind = standard_error.substr(prompt + prompt_start.size(), question - prompt - prompt_start.size());
  if (kind == "input") return shown(files.input);
  if (kind == "output") return shown(files.output);
  if (kind == "database") return shown(files.database);
  return std::string(kind) + " file";
}

// What the output file says that a run needs: its first ERROR lines and the database
// PHREEQC says it read ("Database file: ..."; a DATABASE keyword in the input overrides the
// one it was handed).
struct OutputScan {
  std::vector<std::string> errors;
  std::optional<std::string> database;
};

void scan_output_line(std::string_view line, OutputScan& scan) {
  if (scan.errors.size() < shown_lines) {
    for (std::string& error : error_lines(line, 1)) scan.errors.push_back(diagnostics::display_text(error));
  }
  constexpr std::string_view database_label = "Database file:";
  std::string_view trimmed = sema::trim_white_space(line);
  if (!scan.database && trimmed.starts_with(database_label)) {
    std::string_view named = sema::trim_white_space(trimmed.substr(database_label.size()));
    if (!named.empty()) scan.database = std::string(named);
  }
}

// The output file read a piece at a time: a transport run's reaches hundreds of MB. Bytes
// that are not UTF-8 are shown replaced. Nothing when the file cannot be read.
OutputScan scan_output_file(const fs::path& output_file) {
  OutputScan scan;
  std::variant<diagnostics::FileDescriptor, diagnostics::FileError> opened =
      diagnostics::open_regular_file(output_file.string());
  auto* fd = std::get_if<diagnostics::FileDescriptor>(&opened);
  if (fd == nullptr) return scan;
  auto done = [&] { return scan.errors.size() >= shown_lines && scan.database; };
  std::string pending;
  std::array<char, 65536> buffer;
  auto take_lines = [&](bool at_end) {
    std::size_t start = 0;
    while (!done()) {
      std::size_t feed = pending.find('\n', start);
      if (feed == std::string::npos && !at_end) break;
      scan_output_line(std::string_view(pending).substr(start, feed == std::string::npos ? feed : feed - start), scan);
      if (feed == std::string::npos) break;
      start = feed + 1;
    }
    pending.erase(0, std::min(start, pending.size()));
    // A line longer than a piece is only looked at for its start.
    if (pending.size() > buffer.size()) pending.resize(buffer.size());
  };
  while (!done()) {
    ssize_t got = ::read(fd->get(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    pending.append(buffer.data(), static_cast<std::size_t>(got));
    take_lines(false);
  }
  if (!done()) take_lines(true);
  return scan;
}

// The name the input gives its selected output with `-file`, when it gives one.
std::optional<std::string> selected_output_named_in(const fs::path& input) {
  std::variant<diagnostics::FileDescriptor, diagnostics::FileError> opened = diagnostics::open_regular_file(input.string());
  auto* fd = std::get_if<diagnostics::FileDescriptor>(&opened);
  std::string text;
  if (fd == nullptr || diagnostics::append_to_end(fd->get(), text, std::size_t{1} << 26)) return std::nullopt;
  for (std::string_view line : text_lines(text)) {
    std::vector<std::string_view> words = line_fields(line);
    if (words.size() >= 2 && diagnostics::equals_ascii_folded(words[0], "-file")) return diagnostics::display_text(words[1]);
  }
  return std::nullopt;
}

// Runs the program to its end within the limit; an output file that cannot be read says
// nothing, one with ERROR lines ends the run.
std::optional<EngineError> run_phreeqc(const fs::path& executable, const HandedFiles& files,
                                       const fs::path& work_directory, std::chrono::milliseconds time_limit,
                                       std::optional<std::string>& database_used) {
  std::vector<std::string> arguments = {files.input.string(), files.output.string(), files.database.string()};
  std::variant<ChildProcess, std::string> started = ChildProcess::start(executable.string(), arguments, work_directory);
  if (auto* reason = std::get_if<std::string>(&started)) return platform_failure(executable, *reason);
  ChildProcess& child = std::get<ChildProcess>(started);
  std::optional<std::string> unopened;
  auto prompting = [&](const ChildProcess& running) {
    unopened = unopened_file(running.standard_error_so_far(), files);
    return unopened.has_value();
  };
  std::variant<WaitEnd, std::string> waited = wait_with_limit(child, time_limit, phreeqc_poll_interval, prompting);
  if (auto* reason = std::get_if<std::string>(&waited)) return platform_failure(executable, *reason);
  switch (std::get<WaitEnd>(waited)) {
    case WaitEnd::TimedOut: return phreeqc_timeout_error(time_limit);
    case WaitEnd::Interrupted: return failure("PHREEQC was stopped by a signal to ovm");
    case WaitEnd::GaveUp:
      return failure("PHREEQC could not open " + *unopened + " and stopped to ask for another name; it was ended");
    case WaitEnd::Ended: break;
  }
  std::variant<ChildOutcome, std::string> collected = child.collect();
  if (auto* reason = std::get_if<std::string>(&collected)) return platform_failure(executable, *reason);
  const ChildOutcome& outcome = std::get<ChildOutcome>(collected);
  if (!outcome.status.success()) return exited(outcome);
  OutputScan scan = scan_output_file(files.output);
  if (!scan.errors.empty()) return failure("PHREEQC refused its input: " + join_lines(scan.errors));
  database_used = std::move(scan.database);
  return std::nullopt;
}

std::optional<EngineError> run_backend(const ir::Backend& backend, const std::optional<fs::path>& model_directory,
                                       const fs::path& work_directory, std::chrono::milliseconds time_limit,
                                       BackendResults& results) {
  std::optional<fs::path> executable = find_phreeqc_executable();
  if (!executable) {
    if (std::optional<std::string> unusable = unusable_setting(phreeqc_variable)) {
      return EngineError{backend_unavailable_code, *unusable + "; set it to the PHREEQC executable or unset it"};
    }
    return EngineError{backend_unavailable_code, "`" + backend.name + "` needs PHREEQC and no executable was found; set " +
                                                     phreeqc_variable + " to its path"};
  }
  fs::path input = absolute_path(model_directory, backend.input_path);
  if (!is_existing_file(input)) return missing_file_error(input);
  remove_stale_selected_output(work_directory);
  fs::path output_file = work_directory / output_file_name;
  std::variant<fs::path, EngineError> database = choose_phreeqc_database(backend, model_directory, *executable);
  if (auto* failed = std::get_if<EngineError>(&database)) return std::move(*failed);
  const fs::path& database_path = std::get<fs::path>(database);
  // The child runs in the work directory, so a database named relative to ours (as the
  // variable or the directory near a bare executable name may give it) is handed over whole;
  // the run records it as it was chosen.
  fs::path database_argument = absolute_path(std::nullopt, database_path.string());
  // PHREEQC asks for another name for ever when it cannot open its database, so one that
  // cannot be read is refused before the start.
  std::variant<diagnostics::FileDescriptor, diagnostics::FileError> readable =
      diagnostics::open_regular_file(database_argument.string());
  if (auto* refused = std::get_if<diagnostics::FileError>(&readable)) return platform_failure(database_path, refused->reason);
  HandedFiles files{input, output_file, database_argument};
  std::optional<std::string> database_used;
  if (std::optional<EngineError> failed = run_phreeqc(*executable, files, work_directory, time_limit, database_used)) {
    return failed;
  }
  if (list_selected_outputs(work_directory).empty()) {
    if (std::optional<std::string> asked = selected_output_named_in(input)) {
      return failure("`" + backend.name + "` wrote no selected output where ovm reads it: its input names `" + *asked +
                     "` with -file; give -file a name without a folder that ends in .sel");
    }
  }
  std::variant<ExtractedExports, EngineError> extracted = read_selected_output(backend, work_directory);
  if (auto* failed = std::get_if<EngineError>(&extracted)) return std::move(*failed);
  ExtractedExports& exports = std::get<ExtractedExports>(extracted);
  // The run records the database PHREEQC says it used: a DATABASE keyword in the input wins
  // over the one it was handed, and is read from PHREEQC's working directory.
  std::string recorded = shown(database_path);
  fs::path digested = database_path;
  if (database_used && *database_used != database_argument.string()) {
    recorded = diagnostics::display_text(*database_used);
    digested = absolute_path(work_directory, *database_used);
  }
  ir::BackendRun run{backend.name, "phreeqc", executable->string(), recorded};
  // A database that cannot be read now only goes without its digest.
  std::variant<std::string, diagnostics::FileError> digest = sha256_file_hex(digested.string());
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
  if (graph.backends.empty()) return results;
  // Declared first so that it ends last: a signal is raised again only once the children have
  // been ended and the work directory removed.
  InterruptWatch interrupts;
  std::variant<BackendResults, EngineError> outcome = [&]() -> std::variant<BackendResults, EngineError> {
    std::variant<WorkDirectory, EngineError> work = WorkDirectory::create();
    if (auto* failed = std::get_if<EngineError>(&work)) return named(graph.backends.front(), std::move(*failed));
    const fs::path& directory = std::get<WorkDirectory>(work).path();
    for (const ir::Backend& backend : graph.backends) {
      if (interrupt_received() != 0) return named(backend, failure("not started: ovm was stopped by a signal"));
      std::optional<EngineError> error = run_backend(backend, model_directory, directory, time_limit, results);
      if (error) return named(backend, std::move(*error));
    }
    return std::move(results);
  }();
  interrupts.raise_received();
  return outcome;
}

std::variant<BackendResults, EngineError> run_backends(const ir::ModelGraph& graph,
                                                       const std::optional<fs::path>& model_directory) {
  return run_backends_within(graph, model_directory, phreeqc_time_limit);
}

}  // namespace ovm::engine
