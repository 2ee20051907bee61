// Processes, and the fractionations and kinetics attached to them by name.
#include <algorithm>
#include <variant>

#include "ir/graph/lower_words.hpp"
#include "ir/lower/lower_blocks.hpp"
#include "ir/lower/lower_declared.hpp"
#include "ir/lower/lower_expr.hpp"
#include "ir/lower/lower_references.hpp"
#include "ir/lower/lower_values.hpp"
#include "sema/property_table.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::ir {

using syntax::ValueKind;

namespace {

std::optional<ReservoirId> reservoir_of_statement(const LoweringContext& context, const syntax::Statement& statement) {
  std::optional<std::string> name = value_text(statement);
  if (!name) return std::nullopt;
  return reservoir_id_of(context, *name);
}

// A number as written, or a parameter the block can see.
std::optional<Expr> extent_of(const LoweringContext& context, const syntax::Statement& statement,
                              const std::string& owner) {
  const syntax::Value* first = sema::first_value(statement);
  if (std::optional<double> number = first ? sema::value_number(*first) : std::nullopt) return constant_expr(*number);
  if (!sema::is_kind(first, ValueKind::Identifier)) return std::nullopt;
  std::optional<ParameterId> id = lookup_parameter(context, sema::value_text(*first), owner);
  if (!id) return std::nullopt;
  return parameter_expr(*id);
}

void add_mixing_source(const LoweringContext& context, const syntax::Statement& statement, const std::string& owner,
                       std::vector<MixingSource>& sources) {
  const std::optional<syntax::ValuesBody> body = sema::values_body(statement);
  if (!body || body->values.size() < 2) return;
  std::optional<std::string> name = value_text(body->values[0]);
  if (!name) return;
  std::optional<double> fraction = number_or_name(context, body->values[1], owner);
  if (!fraction) return;
  std::optional<ReservoirId> reservoir = reservoir_id_of(context, *name);
  if (reservoir) sources.push_back(MixingSource{*reservoir, *fraction});
}

struct ProcessDraft {
  std::optional<std::string> type;
  ProcessEndpoints endpoints;
  Process process;
};

void read_process_statement(LoweringContext& context, const syntax::Statement& statement, ProcessDraft& draft) {
  Process& process = draft.process;
  ProcessEndpoints& ends = draft.endpoints;
  if (key_is(statement, "type")) {
    draft.type = value_text(statement);
  } else if (key_is(statement, "reactant")) {
    ends.reactant = value_text(statement);
  } else if (key_is(statement, "product")) {
    ends.product = value_text(statement);
  } else if (key_is(statement, "sorbent")) {
    ends.sorbent = value_text(statement);
  } else if (key_is(statement, "phase_a")) {
    ends.phase_a = value_text(statement);
  } else if (key_is(statement, "phase_b")) {
    ends.phase_b = value_text(statement);
  } else if (key_is(statement, "from")) {
    process.from = reservoir_of_statement(context, statement);
  } else if (key_is(statement, "into")) {
    process.into = reservoir_of_statement(context, statement);
  } else if (key_is(statement, "location")) {
    process.location = reservoir_of_statement(context, statement);
  } else if (key_is(statement, "context")) {
    process.context = enum_of_word<Context>(value_text(statement).value_or(""), sema::property_lists::process_contexts);
  } else if (key_is(statement, "regime")) {
    process.regime = enum_of_word<Regime>(value_text(statement).value_or(""), sema::property_lists::process_regimes);
  } else if (key_is(statement, "extent")) {
    process.extent = extent_of(context, statement, process.name);
  } else if (key_is(statement, "source")) {
    add_mixing_source(context, statement, process.name, ends.sources);
  } else if (key_is(statement, "parameter")) {
    const syntax::AssignmentBody* assignment = local_assignment(statement);
    if (assignment == nullptr) return;
    process.parameters.push_back(
        define_parameter(context, statement, *assignment, process.name, std::string(assignment->target->text)));
  }
}

// The first process of that name; FRACTIONATION and KINETICS attach to it.
Process* process_named(LoweringContext& context, const syntax::Block& block) {
  if (!block.name()) return nullptr;
  std::optional<ProcessId> id = process_id_of(context, block.name()->text);
  return id ? &context.graph.processes[*id] : nullptr;
}

}  // namespace

void lower_process(LoweringContext& context, const syntax::Block& block) {
  if (!block.name()) return;
  ProcessDraft draft;
  draft.process.name = std::string(block.name()->text);
  declare_local_parameters(context, block, draft.process.name);
  for (const syntax::Statement& statement : block.statements) read_process_statement(context, statement, draft);
  Process& process = draft.process;
  if (!process.location && context.graph.reservoirs.size() == 1) process.location = 0;
  std::optional<ProcessKind> kind = process_kind_from_type(context, draft.type, std::move(draft.endpoints));
  if (!kind) return;  // its block-local parameters stay in the graph
  process.id = static_cast<ProcessId>(context.graph.processes.size());
  process.kind = std::move(*kind);
  context.graph.processes.push_back(std::move(process));
  index_last_process(context);
}

namespace {

// Set in place: moving a finished factor into the optional trips a false maybe-uninitialized
// warning of g++ 12 under the sanitizers.
template <typename Node>
void set_factor(std::optional<FractionationFactor>& factor, Node node) {
  if (!factor) factor.emplace();
  factor->kind.template emplace<Node>(std::move(node));
}

void set_constant(std::optional<FractionationFactor>& factor, std::optional<double> alpha) {
  if (!alpha) {
    factor.reset();
    return;
  }
  set_factor(factor, FractionationFactor::Constant{*alpha});
}

// alpha, epsilon and law set the same factor; a law without a value leaves it as it is.
void read_factor(const LoweringContext& context, const syntax::Statement& statement, const std::string& owner,
                 std::optional<FractionationFactor>& factor) {
  if (key_is(statement, "alpha")) {
    set_constant(factor, main_number(context, statement, owner));
  } else if (key_is(statement, "epsilon")) {
    std::optional<double> epsilon = main_number(context, statement, owner);
    set_constant(factor, epsilon ? std::optional<double>(*epsilon / 1000 + 1) : std::nullopt);
  } else if (const auto law = syntax::body_as<syntax::NestedBody>(statement); law && key_is(statement, "law")) {
    std::optional<Expr> alpha = lower_law(context, law->statements, owner);
    if (alpha) {
      set_factor(factor, FractionationFactor::Law{std::move(*alpha)});
    } else {
      factor.reset();
    }
  } else if (key_is(statement, "law") || key_is(statement, "law_file")) {
    // `law file <path>`, the two-word form; the one-word key passes the checks as well.
    if (std::optional<std::string> path = last_value_text(statement)) {
      set_factor(factor, FractionationFactor::Table{std::move(*path)});
    }
  }
}

}  // namespace

void lower_fractionation(LoweringContext& context, const syntax::Block& block) {
  Process* process = process_named(context, block);
  if (process == nullptr) return;
  std::string owner(block.name()->text);
  std::optional<IsotopeId> isotope;
  std::optional<FractionationFactor> factor;
  std::optional<double> phase;
  for (const syntax::Statement& statement : block.statements) {
    if (key_is(statement, "isotope")) {
      const syntax::Value* first = sema::first_value(statement);
      if (!sema::is_kind(first, ValueKind::Ratio)) continue;
      auto found = context.isotopes_by_notation.find(std::string(sema::value_text(*first)));
      isotope = found == context.isotopes_by_notation.end() ? std::nullopt : std::optional<IsotopeId>(found->second);
    } else if (key_is(statement, "phase")) {
      phase = main_number(context, statement, owner);
    } else {
      read_factor(context, statement, owner, factor);
    }
  }
  if (!isotope || !factor) return;
  auto same = std::find_if(process->fractionations.begin(), process->fractionations.end(),
                           [&](const Fractionation& existing) { return existing.isotope == *isotope; });
  Fractionation& target = same != process->fractionations.end() ? *same : process->fractionations.emplace_back();
  target.isotope = *isotope;
  target.factor = *factor;
  target.phase_permil = phase;
}

namespace {

// A number in the base unit of `dimension`, or a parameter the block can see.
std::optional<Expr> rate_term(const LoweringContext& context, const syntax::Statement& statement,
                              std::string_view dimension, const std::string& owner) {
  const syntax::Value* first = sema::first_value(statement);
  if (sema::is_kind(first, ValueKind::Number)) {
    std::optional<double> value = quantity_to_base(context, statement, dimension);
    if (!value) return std::nullopt;
    return constant_expr(*value);
  }
  if (!sema::is_kind(first, ValueKind::Identifier)) return std::nullopt;
  std::optional<ParameterId> id = lookup_parameter(context, sema::value_text(*first), owner);
  if (!id) return std::nullopt;
  return parameter_expr(*id);
}

std::optional<RateLaw> rate_law(const std::string& rate, Expr constant, std::optional<Expr> half_saturation) {
  if (rate == "zero_order") return RateLaw{RateLaw::ZeroOrder{std::move(constant)}};
  if (rate == "first_order") return RateLaw{RateLaw::FirstOrder{std::move(constant)}};
  if (rate == "second_order") return RateLaw{RateLaw::SecondOrder{std::move(constant)}};
  if (rate == "monod" && half_saturation) return RateLaw{RateLaw::Monod{std::move(constant), std::move(*half_saturation)}};
  return std::nullopt;
}

}  // namespace

void lower_kinetics(LoweringContext& context, const syntax::Block& block) {
  Process* process = process_named(context, block);
  if (process == nullptr) return;
  std::string owner(block.name()->text);
  std::optional<std::string> rate;
  std::optional<Expr> constant;
  std::optional<Expr> half_saturation;
  for (const syntax::Statement& statement : block.statements) {
    if (key_is(statement, "rate")) {
      rate = value_text(statement);
    } else if (key_is(statement, "constant")) {
      constant = rate_term(context, statement, "rate_constant", owner);
    } else if (key_is(statement, "half_saturation")) {
      half_saturation = rate_term(context, statement, "molality", owner);
    }
  }
  if (!rate || !constant) return;
  std::optional<RateLaw> law = rate_law(*rate, std::move(*constant), std::move(half_saturation));
  if (law) process->kinetics = Kinetics{std::move(*law)};
}

}  // namespace ovm::ir
