#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ir/graph/graph_ids.hpp"

namespace ovm::ir {

enum class BackendKind : std::uint8_t { Phreeqc = 0 };

// How a backend's results reach the model: one value per export, or a time series read at the
// model clock.
enum class BackendMode : std::uint8_t { Oneshot = 0, Series = 1 };

// One selected-output column the model takes over.
struct BackendExport {
  std::string column;
  ParameterId parameter;  // created for the export's target, without owner and without value

  friend bool operator==(const BackendExport&, const BackendExport&) = default;
};

// An outside program run before the simulation.
struct Backend {
  std::string name;
  BackendKind kind = BackendKind::Phreeqc;
  std::string input_path;               // as written in the block
  std::optional<std::string> database;  // as written; absent when the block names none
  BackendMode mode = BackendMode::Oneshot;
  std::vector<BackendExport> exports;  // in statement order

  friend bool operator==(const Backend&, const Backend&) = default;
};

}  // namespace ovm::ir
