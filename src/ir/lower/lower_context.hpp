#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "ir/graph/graph_ids.hpp"
#include "ir/graph/graph_substances.hpp"
#include "ir/graph/model_graph.hpp"
#include "ir/lower/view_map.hpp"
#include "sema/scoped_name.hpp"
#include "syntax/tree.hpp"

namespace ovm::syntax {
struct Statement;
}

namespace ovm::ir {

// A parameter definition of the model text: its statement, and the name of the block that owns
// it, null for one of PARAMETERS. Its name is the statement's key there, else the assignment's
// target.
struct ParameterDefinition {
  const syntax::Statement* statement = nullptr;
  const syntax::Block* owner = nullptr;  // the block of a local parameter
};

// The hash parameters and their definitions are indexed by: of the owner and the name.
std::uint32_t owned_name_hash(std::optional<std::string_view> owner, std::string_view name);

// The state every lowering pass works on. The maps are only ever looked up by key, so their
// order cannot reach the graph; a later insertion under a key replaces the earlier value. A
// large model has hundreds of thousands of reservoirs, processes and parameters: those are
// found through name indexes of the graph's own records, which hold the names they match.
struct LoweringContext {
  ModelGraph graph;
  std::string_view source;  // the model text, for steps that copy text by span

  std::unordered_map<std::string, std::string> unit_defaults;  // dimension name -> unit name
  std::unordered_map<std::string, SpeciesId> species_by_formula;
  std::unordered_map<std::string, IsotopeId> isotopes_by_notation;
  sema::NameIndex reservoirs_by_name;   // graph reservoirs
  sema::NameIndex samples_by_name;      // graph samples
  sema::NameIndex processes_by_name;    // graph processes, the first of each name
  sema::NameIndex parameters_by_owner;  // graph parameters, by their owner and name
  std::unordered_map<std::string, Standard> standards_by_name;
  // Every parameter definition of the model, found by owning block (none: PARAMETERS) and name;
  // a later one replaces an earlier. Numbers written as names read them, whatever the pass.
  std::vector<ParameterDefinition> parameter_definitions;
  sema::NameIndex definitions_by_name;  // positions in parameter_definitions
  // Block-local parameters declared before their values are lowered, by the statement that
  // declares them; and the first of each PARAMETERS block's, which follow in statement order.
  ViewMap<const syntax::Statement*, ParameterId, std::hash<const syntax::Statement*>> declared_parameters;
  ViewMap<const syntax::Block*, ParameterId, std::hash<const syntax::Block*>> declared_blocks;
};

// The owner's own parameter first, then the model-wide one of that name.
std::optional<ParameterId> lookup_parameter(const LoweringContext& context, std::string_view name,
                                            const std::optional<std::string>& owner);

// Appends a parameter; a second one of the same owner and name hides the first from lookups.
ParameterId add_parameter(LoweringContext& context, std::optional<std::string> owner, std::string name,
                          std::optional<Expr> value);

// The species of that formula, appended on first use with the element its formula starts with.
SpeciesId species_for_formula(LoweringContext& context, std::string_view formula);

// True when `element` is one of the element symbols the formula is written with: C in HCO3-
// and CaCO3(s), not in Ca or Cr; the letters of an oxidation state (VI) or a phase (s) name
// no element.
bool formula_has_element(std::string_view formula, std::string_view element);

// Finds the graph's last reservoir or sample by its name from now on, in place of an earlier
// one of that name.
void index_last_reservoir(LoweringContext& context);
void index_last_sample(LoweringContext& context);
// Finds the graph's last process by its name from now on, unless an earlier one has it.
void index_last_process(LoweringContext& context);

std::optional<ReservoirId> reservoir_id_of(const LoweringContext& context, std::string_view name);
std::optional<SampleId> sample_id_of(const LoweringContext& context, std::string_view name);
// The first process of that name.
std::optional<ProcessId> process_id_of(const LoweringContext& context, std::string_view name);

// A deep copy: the copy shares no node with the original.
Expr clone_expr(const Expr& expr);

}  // namespace ovm::ir
