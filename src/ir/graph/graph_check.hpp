#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ir/graph/graph_expressions.hpp"
#include "ir/graph/graph_simulation.hpp"
#include "ir/graph/model_graph.hpp"

namespace ovm::ir {

// Whether the graph is internally consistent: every record that must carry its index as id
// does, and every id one record holds for another indexes the list it points into. One message
// per defect, in a fixed walk over the graph, never stopping early; empty when consistent. It
// reports and never repairs: after lowering a message means a defect of the compiler, after
// reading a file it means the file is damaged.
std::vector<std::string> check_model_graph(const ModelGraph& graph);

// "{subject} reads unknown parameter {id}" for each read of a parameter outside the graph, in
// depth-first order, left operand first.
std::vector<std::string> check_expr_refs(std::string_view subject, const ModelGraph& graph, const Expr& expr);

// check_expr_refs of each expression in order, concatenated.
std::vector<std::string> collect_expr_messages(std::string_view subject, const ModelGraph& graph,
                                               const std::vector<Expr>& exprs);

// "{subject} names unknown reservoir|species|isotope {id}" for each id of the subject outside
// the graph, in field order.
std::vector<std::string> check_variable_refs(std::string_view subject, const ModelGraph& graph,
                                             const Subject& quantity);

}  // namespace ovm::ir
