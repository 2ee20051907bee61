#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ir/graph/graph_expressions.hpp"
#include "ir/graph/model_graph.hpp"

namespace ovm::ir {

// What keeps the lowered-model file of a graph from reading back as that graph: a number that
// is not finite, which the file writes as null, and an expression nested deeper than the
// reader's nesting budget allows where it stands. One message per fault, "{record}: {what}",
// in a fixed walk over the graph; empty when the file reads back.
std::vector<std::string> unreadable_parts(const ModelGraph& graph);

// How many arrays and objects the expression opens in the file, its own object included: one
// for a leaf, two more for each unary or binary level above it, three for each call.
std::uint32_t expr_nesting(const Expr& expr);

// How many arrays and objects stand open around an expression of each place in the file.
inline constexpr std::uint32_t parameter_value_depth = 3;  // the file, `parameters`, the parameter
inline constexpr std::uint32_t process_extent_depth = 3;   // the file, `processes`, the process
inline constexpr std::uint32_t rate_law_depth = 5;         // ... the process, `kinetics`, `rate`
inline constexpr std::uint32_t fractionation_law_depth = 6;  // ... `fractionations`, one, `factor`

}  // namespace ovm::ir
