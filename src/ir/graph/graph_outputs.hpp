#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "ir/graph/graph_ids.hpp"
#include "ir/graph/graph_simulation.hpp"

namespace ovm::ir {

// What an output records: the quantities a stop condition can compare, or a parameter's value.
struct Variable {
  using Time = Subject::Time;
  using Amount = Subject::Amount;
  using Composition = Subject::Composition;
  using PoolComposition = Subject::PoolComposition;
  using FractionRemaining = Subject::FractionRemaining;
  using FractionReacted = Subject::FractionReacted;
  struct Parameter {
    ParameterId id;

    friend bool operator==(const Parameter&, const Parameter&) = default;
  };

  // Spelled out: inside its own struct a nested alternative does not count as default-constructible.
  std::variant<Time, Amount, Composition, PoolComposition, FractionRemaining, FractionReacted, Parameter> kind = Time{};

  friend bool operator==(const Variable&, const Variable&) = default;
};

struct Output {
  Variable variable;
  std::string label;  // the reference's parts joined with ".", or the word as written

  friend bool operator==(const Output&, const Output&) = default;
};

enum class ExportFormat : std::uint8_t { Isof = 0, Csv = 1, Json = 2 };

// A result file the model asks for.
struct Export {
  ExportFormat format = ExportFormat::Isof;
  std::string path;  // the EXPORT `file` statement as written

  friend bool operator==(const Export&, const Export&) = default;
};

}  // namespace ovm::ir
