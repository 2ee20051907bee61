#pragma once

#include <cstdint>
#include <vector>

#include "ir/graph/graph_expressions.hpp"

namespace ovm::engine {

// One step of an expression walk: evaluate a node and push its value, or combine the values
// its operands pushed, or mark a parameter's value as finished.
struct EvalTask {
  enum class Kind : std::uint8_t { Visit, Negate, Binary, Call, LeaveParameter };
  Kind kind = Kind::Visit;
  const ir::Expr* expr = nullptr;  // the node, for every kind but LeaveParameter
  std::uint32_t parameter = 0;     // for LeaveParameter
};

// The working memory of the expression walks of one run, kept between walks so that a walk
// in steady state allocates nothing. A parameter's value is evaluated once per walk: the state
// does not change during a walk, so a second reference reads the same value, and a chain of
// parameters that each refer to the one before twice takes linear time. A parameter is marked
// with the number of the walk that entered or finished it, so a new walk starts with no
// parameter entered without touching them.
struct EvalScratch {
  std::vector<EvalTask> tasks;
  std::vector<double> values;
  std::vector<std::uint32_t> entered;      // by parameter index: the walk that started its value
  std::vector<std::uint32_t> finished_at;  // by parameter index: the walk that finished its value
  std::vector<double> finished;            // by parameter index: the value it finished with
  std::uint32_t walk = 0;                  // the number of the current walk; 0 is none
};

}  // namespace ovm::engine
