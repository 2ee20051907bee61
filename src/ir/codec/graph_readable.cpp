#include "ir/codec/graph_readable.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <type_traits>
#include <string_view>
#include <utility>
#include <variant>

#include "diagnostics/message_text.hpp"
#include "ir/json/json_text.hpp"

namespace ovm::ir {
namespace {

// The reader refuses the bracket that would open this many at once.
constexpr std::uint32_t nesting_limit = json_nesting_budget - 1;

struct ExprFacts {
  std::uint32_t nesting = 0;
  bool non_finite = false;
};

// One walk with a stack of its own, so no height of tree can exhaust the call stack.
ExprFacts expr_facts(const Expr& root) {
  ExprFacts facts;
  std::vector<std::pair<const Expr*, std::uint32_t>> pending{{&root, 1}};
  while (!pending.empty()) {
    auto [expr, level] = pending.back();
    pending.pop_back();
    facts.nesting = std::max(facts.nesting, level);
    if (const auto* constant = std::get_if<Expr::Constant>(&expr->kind)) {
      if (!std::isfinite(constant->value)) facts.non_finite = true;
    } else if (const auto* unary = std::get_if<Expr::Unary>(&expr->kind)) {
      pending.emplace_back(unary->operand.get(), level + 2);
    } else if (const auto* binary = std::get_if<Expr::Binary>(&expr->kind)) {
      pending.emplace_back(binary->lhs.get(), level + 2);
      pending.emplace_back(binary->rhs.get(), level + 2);
    } else if (const auto* call = std::get_if<Expr::Call>(&expr->kind)) {
      facts.nesting = std::max(facts.nesting, level + 2);  // the `args` list, even when empty
      for (const Expr& arg : call->args) pending.emplace_back(&arg, level + 3);
    }
  }
  return facts;
}

// A description of a part: a text, or what writes it. Those of a large model's hundreds of
// thousands of parts are written only for a part at fault, which few are.
template <class Text>
std::string text_of(const Text& text) {
  if constexpr (std::is_invocable_v<const Text&>) {
    return text();
  } else {
    return std::string(std::string_view(text));
  }
}

struct Faults {
  std::vector<std::string> messages;

  template <class Record, class What>
  void number(const Record& record, const What& what, double value) {
    if (std::isfinite(value)) return;
    messages.push_back(diagnostics::fill_message("{}: {} is not a finite number", {text_of(record), text_of(what)}));
  }
  template <class Record, class What>
  void number(const Record& record, const What& what, const std::optional<double>& value) {
    if (value) number(record, what, *value);
  }
  template <class Record, class What>
  void expr(const Record& record, const What& what, const Expr& expr, std::uint32_t depth) {
    ExprFacts facts = expr_facts(expr);
    if (facts.non_finite) {
      messages.push_back(
          diagnostics::fill_message("{}: {} holds a number that is not finite", {text_of(record), text_of(what)}));
    }
    if (depth + facts.nesting > nesting_limit) {
      messages.push_back(diagnostics::fill_message(
          "{}: {} is nested deeper than a lowered model file holds; split it over parameters",
          {text_of(record), text_of(what)}));
    }
  }
};

std::string named(std::string_view kind, std::string_view name) {
  return diagnostics::fill_message("{} `{}`", {kind, name});
}

// The description "{kind} `{name}`", written when asked for.
auto named_later(std::string_view kind, const std::string& name) {
  return [kind, &name] { return named(kind, name); };
}

std::string_view formula(const ModelGraph& graph, SpeciesId species) {
  return species < graph.species.size() ? std::string_view(graph.species[species].formula) : std::string_view("?");
}

std::string_view notation(const ModelGraph& graph, IsotopeId isotope) {
  return isotope < graph.isotopes.size() ? std::string_view(graph.isotopes[isotope].notation) : std::string_view("?");
}

void check_conditions(const Conditions& conditions, Faults& faults) {
  constexpr std::string_view record = "the conditions";
  faults.number(record, "`temperature`", conditions.temperature_k);
  faults.number(record, "`pressure`", conditions.pressure_bar);
  faults.number(record, "`pH`", conditions.ph);
  faults.number(record, "`Eh`", conditions.eh_mv);
  faults.number(record, "`ionic_strength`", conditions.ionic_strength);
}

void check_isotopes(const ModelGraph& graph, Faults& faults) {
  for (const IsotopeSystem& system : graph.isotopes) {
    if (!system.standard) continue;
    auto record = named_later("isotope system", system.notation);
    faults.number(record, "the ratio of its standard", system.standard->ratio);
    faults.number(record, "the uncertainty of its standard", system.standard->uncertainty);
  }
}

// `of` writes what follows "the `{notation}` composition" in a description.
template <class Record, class Of>
void check_compositions(const ModelGraph& graph, const Record& record, const Of& of,
                        const std::vector<Composition>& compositions, Faults& faults) {
  for (const Composition& composition : compositions) {
    auto what = [&] {
      return diagnostics::fill_message("the `{}` composition{}", {notation(graph, composition.isotope), text_of(of)});
    };
    faults.number(record, what, composition.ratio);
  }
}

void check_reservoirs(const ModelGraph& graph, Faults& faults) {
  for (const Reservoir& reservoir : graph.reservoirs) {
    auto record = named_later("reservoir", reservoir.name);
    if (reservoir.extent) {
      if (const auto* volume = std::get_if<Extent::Volume>(&reservoir.extent->kind)) {
        faults.number(record, "`volume`", volume->litres);
      } else {
        faults.number(record, "`mass`", std::get<Extent::Mass>(reservoir.extent->kind).kilograms);
      }
    }
    faults.number(record, "`temperature`", reservoir.temperature_k);
    for (const Pool& pool : reservoir.pools) {
      double amount = std::visit([](const auto& kind) -> double {
        if constexpr (requires { kind.mol_per_kgw; }) {
          return kind.mol_per_kgw;
        } else {
          return kind.mg_per_l;
        }
      }, pool.amount.kind);
      std::string_view species = formula(graph, pool.species);
      faults.number(record, [&] { return diagnostics::fill_message("the amount of `{}`", {species}); }, amount);
      auto of_species = [&] { return diagnostics::fill_message(" of `{}`", {species}); };
      check_compositions(graph, record, of_species, pool.compositions, faults);
      for (const PoolDelta& delta : pool.deltas) {
        auto what = [&] {
          return diagnostics::fill_message("the `{}` delta of `{}`", {notation(graph, delta.isotope), species});
        };
        faults.number(record, what, delta.delta_permil);
      }
    }
  }
}

void check_process(const ModelGraph& graph, const Process& process, Faults& faults) {
  auto record = named_later("process", process.name);
  if (const auto* mixing = std::get_if<ProcessKind::Mixing>(&process.kind.kind)) {
    for (const MixingSource& source : mixing->sources) faults.number(record, "a source fraction", source.fraction);
  }
  if (process.extent) faults.expr(record, "its `extent`", *process.extent, process_extent_depth);
  for (const Fractionation& fractionation : process.fractionations) {
    auto what = [&] {
      return diagnostics::fill_message("its `{}` fractionation", {notation(graph, fractionation.isotope)});
    };
    if (const auto* constant = std::get_if<FractionationFactor::Constant>(&fractionation.factor.kind)) {
      faults.number(record, what, constant->alpha);
    } else if (const auto* law = std::get_if<FractionationFactor::Law>(&fractionation.factor.kind)) {
      faults.expr(record, what, law->expr, fractionation_law_depth);
    }
    faults.number(record, [&] { return diagnostics::fill_message("the phase of {}", {what()}); },
                  fractionation.phase_permil);
  }
  if (process.kinetics) {
    std::visit([&](const auto& law) {
      faults.expr(record, "its rate `constant`", law.constant, rate_law_depth);
      if constexpr (requires { law.half_saturation; }) {
        faults.expr(record, "its `half_saturation`", law.half_saturation, rate_law_depth);
      }
    }, process.kinetics->rate.kind);
  }
}

void check_samples(const ModelGraph& graph, Faults& faults) {
  for (const Sample& sample : graph.samples) {
    auto record = named_later("sample", sample.name);
    check_compositions(graph, record, "", sample.compositions, faults);
    for (double value : sample.series) faults.number(record, "a `series` value", value);
    faults.number(record, "`uncertainty`", sample.uncertainty_permil);
  }
  for (const Identification& identification : graph.identifications) {
    auto record = named_later("identification", identification.name);
    faults.number(record, "`tolerance`", identification.tolerance_permil);
    faults.number(record, "`extent`", identification.extent);
  }
}

void check_simulation(const ModelGraph& graph, Faults& faults) {
  if (graph.simulation) {
    const Simulation& simulation = *graph.simulation;
    std::string record = simulation.name.empty() ? std::string("the simulation") : named("simulation", simulation.name);
    faults.number(record, "`step`", simulation.step_seconds);
    if (simulation.stop) faults.number(record, "the value `until` compares with", simulation.stop->value);
  }
  faults.number("the outputs", "`every`", graph.sampling_seconds);
}

}  // namespace

std::uint32_t expr_nesting(const Expr& expr) { return expr_facts(expr).nesting; }

std::vector<std::string> unreadable_parts(const ModelGraph& graph) {
  Faults faults;
  check_conditions(graph.conditions, faults);
  for (const Parameter& parameter : graph.parameters) {
    if (!parameter.value) continue;
    auto record = [&] {
      std::string text = named("parameter", parameter.name);
      if (parameter.owner) text += diagnostics::fill_message(" of `{}`", {*parameter.owner});
      return text;
    };
    faults.expr(record, "its value", *parameter.value, parameter_value_depth);
  }
  check_isotopes(graph, faults);
  check_reservoirs(graph, faults);
  for (const Process& process : graph.processes) check_process(graph, process, faults);
  check_samples(graph, faults);
  check_simulation(graph, faults);
  return std::move(faults.messages);
}

}  // namespace ovm::ir
