#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ir/graph/graph_processes.hpp"
#include "ir/graph/graph_simulation.hpp"
#include "ir/lower/lower_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::ir {

// A delta line: the isotope system of the key's element and heavy mass (the first declared)
// and the statement's number (as `main_number` reads it: a constant parameter's name counts), in
// permil as written.
struct WrittenDelta {
  IsotopeId isotope = 0;
  double delta_permil = 0;
};
std::optional<WrittenDelta> written_delta(const LoweringContext& context, const syntax::Statement& statement,
                                          std::string_view key, const std::optional<std::string>& owner);

// The delta as an absolute ratio against its isotope system's standard; nothing without one.
std::optional<double> delta_as_ratio(const LoweringContext& context, const WrittenDelta& delta);

// A dotted reference as written: reservoir.species, reservoir.delta name, or
// reservoir.species followed by reacted, remaining or a delta name.
std::optional<Subject> resolve_reference(const LoweringContext& context, std::span<const std::string_view> parts);

// What a PROCESS block names before its kind is built.
struct ProcessEndpoints {
  std::vector<MixingSource> sources;
  std::optional<std::string> reactant;
  std::optional<std::string> product;
  std::optional<std::string> sorbent;
  std::optional<std::string> phase_a;
  std::optional<std::string> phase_b;
};

// The kind a process type builds from its endpoints. Endpoints become species as soon as each
// is read, so a kind that fails half-way leaves the species it already created.
std::optional<ProcessKind> process_kind_from_type(LoweringContext& context, const std::optional<std::string>& type,
                                                  ProcessEndpoints endpoints);

}  // namespace ovm::ir
