#include "engine/phreeqc/phreeqc_locate.hpp"

#include <array>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "diagnostics/utf8.hpp"
#include "engine/base/file_listing.hpp"
#include "engine/phreeqc/phreeqc_child.hpp"
#include "engine/phreeqc/phreeqc_codes.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 2> probe_names = {"phreeqc", "phreeqc.exe"};
constexpr const char* database_directory_name = "database";
constexpr const char* default_database_name = "phreeqc.dat";
constexpr const char* unix_install_databases = "share/doc/phreeqc/database";

// A bare database name: the directory near the executable first, then beside the model.
fs::path named_database(const std::string& name, const std::optional<fs::path>& model_directory,
                        const fs::path& executable) {
  if (name.find_first_of("/\\") == std::string::npos) {
    if (std::optional<fs::path> directory = find_phreeqc_database_dir(executable)) {
      fs::path near = *directory / name;
      if (is_existing_file(near)) return near;
    }
  }
  return absolute_path(model_directory, name);
}

std::optional<fs::path> default_database(const fs::path& executable) {
  if (std::optional<std::string> named = environment_file(phreeqc_database_variable)) return fs::path(*named);
  if (unusable_setting(phreeqc_database_variable)) return std::nullopt;
  if (std::optional<fs::path> directory = find_phreeqc_database_dir(executable)) {
    fs::path candidate = *directory / default_database_name;
    if (is_existing_file(candidate)) return candidate;
  }
  return std::nullopt;
}

}  // namespace

EngineError missing_file_error(const fs::path& path) {
  return EngineError{backend_failure_code, diagnostics::display_text(path.string()) + " does not exist"};
}

std::optional<std::string> environment_file(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr) return std::nullopt;
  std::string text(value);
  if (!diagnostics::is_valid_utf8(text) || !is_existing_file(text)) return std::nullopt;
  return text;
}

std::optional<std::string> unusable_setting(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || !diagnostics::is_valid_utf8(value) || is_existing_file(value)) return std::nullopt;
  std::error_code error;
  std::string why = !fs::exists(value, error) ? "does not exist"
                    : fs::is_directory(value, error) ? "is a directory"
                                                     : "is not a regular file";
  return "`" + std::string(variable) + "` is set to `" + value + "`, which " + why;
}

std::optional<fs::path> find_phreeqc_executable() {
  if (std::optional<std::string> named = environment_file(phreeqc_variable)) return fs::path(*named);
  // A setting that names nothing is never passed over for another program.
  if (unusable_setting(phreeqc_variable)) return std::nullopt;
  for (const char* name : probe_names) {
    if (probe_program(name)) return fs::path(name);
  }
  return std::nullopt;
}

namespace {

// Where a bare name that the probe started lives: the first directory of PATH that holds a
// regular file of that name; the bare name itself when none does.
fs::path located_on_path(const fs::path& executable) {
  if (executable.has_parent_path()) return executable;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return executable;
  std::string_view entries(path);
  while (true) {
    std::size_t colon = entries.find(':');
    std::string_view entry = entries.substr(0, colon);
    if (!entry.empty()) {
      fs::path candidate = fs::path(entry) / executable;
      if (is_existing_file(candidate)) return candidate;
    }
    if (colon == std::string_view::npos) return executable;
    entries.remove_prefix(colon + 1);
  }
}

}  // namespace

std::optional<fs::path> find_phreeqc_database_dir(const fs::path& executable) {
  fs::path directory = located_on_path(executable).parent_path();
  for (int tries = 0; tries < 4; ++tries) {
    // A folder "database" beside the program, as in PHREEQC's own distribution, or where a
    // Unix install puts the databases: PREFIX/share/doc/phreeqc/database beside PREFIX/bin.
    for (const fs::path& candidate : {directory / database_directory_name, directory / unix_install_databases}) {
      if (is_existing_directory(candidate)) return candidate;
    }
    if (directory.empty()) break;
    fs::path parent = directory.parent_path();
    if (parent == directory) break;
    directory = parent;
  }
  return std::nullopt;
}

fs::path absolute_path(const std::optional<fs::path>& base, const std::string& path) {
  fs::path given(path);
  if (given.is_absolute()) return given;
  fs::path joined = base ? *base / given : given;
  std::error_code error;
  fs::path current = fs::current_path(error);
  return error ? joined : current / joined;
}

std::variant<fs::path, EngineError> choose_phreeqc_database(const ir::Backend& backend,
                                                            const std::optional<fs::path>& model_directory,
                                                            const fs::path& executable) {
  fs::path chosen;
  if (backend.database) {
    chosen = named_database(*backend.database, model_directory, executable);
  } else if (std::optional<fs::path> found = default_database(executable)) {
    chosen = std::move(*found);
  } else if (std::optional<std::string> unusable = unusable_setting(phreeqc_database_variable)) {
    return EngineError{backend_unavailable_code, *unusable + "; set it to a PHREEQC database file or unset it"};
  } else {
    return EngineError{backend_unavailable_code, "no PHREEQC database found near " +
                                                     diagnostics::display_text(executable.string()) +
                                                     "; name one in the model or set " + phreeqc_database_variable};
  }
  if (!is_existing_file(chosen)) return missing_file_error(chosen);
  return chosen;
}

}  // namespace ovm::engine
