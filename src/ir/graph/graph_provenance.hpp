#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovm::ir {

// The version lowering stamps into every graph it builds.
inline constexpr std::string_view lowered_ir_version = "1.3";

// Descriptive data of the model; none of it affects a run. The title comes from the TITLE
// block, the rest from the META statement of the same key.
struct Meta {
  std::optional<std::string> title;
  std::optional<std::string> author;
  std::optional<std::string> date;
  std::optional<std::string> version;
  std::optional<std::string> language;
  std::optional<std::string> description;
  std::optional<std::string> license;
  std::optional<std::string> reference;

  friend bool operator==(const Meta&, const Meta&) = default;
};

// One isotope database the model names. Lowering sets the path; the build command adds the
// resolved path and the digest when it can read the file.
struct DatabaseRef {
  std::string path;                     // as the DATABASE statement wrote it
  std::optional<std::string> resolved;  // the file the build found for it
  std::optional<std::string> sha256;    // of that file, 64 lower-case hexadecimal digits

  friend bool operator==(const DatabaseRef&, const DatabaseRef&) = default;
};

// Where the graph comes from.
struct Provenance {
  std::optional<std::string> source_path;    // as it stood on the build command's line
  std::optional<std::string> source_sha256;  // of the source text
  std::vector<DatabaseRef> databases;        // in source order
  std::optional<std::string> generator;      // "ovm 0.1.0"
  std::string ir_version;                    // the format version lowering stamps

  friend bool operator==(const Provenance&, const Provenance&) = default;
};

// Model-wide physical conditions in base units; absent when the model does not state them.
struct Conditions {
  std::optional<double> temperature_k;
  std::optional<double> pressure_bar;
  std::optional<double> ph;
  std::optional<double> eh_mv;
  std::optional<double> ionic_strength;  // mol/kgw, converted as a molality

  friend bool operator==(const Conditions&, const Conditions&) = default;
};

}  // namespace ovm::ir
