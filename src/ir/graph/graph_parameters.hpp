#pragma once

#include <optional>
#include <string>

#include "ir/graph/graph_expressions.hpp"
#include "ir/graph/graph_ids.hpp"

namespace ovm::ir {

// A named value that expressions read. Lookups go by (owner, name), so one name can serve
// several blocks and the model as a whole.
struct Parameter {
  ParameterId id;
  std::string name;
  std::optional<std::string> owner;  // the declaring RESERVOIR or PROCESS block; absent for a model-wide one
  std::optional<Expr> value;         // absent when a backend supplies the value at run time

  friend bool operator==(const Parameter&, const Parameter&) = default;
};

}  // namespace ovm::ir
