#include "ir/graph/graph_check.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>

#include "diagnostics/message_text.hpp"

namespace ovm::ir {
namespace {

using Messages = std::vector<std::string>;

std::string id_text(std::uint64_t id) { return std::to_string(id); }

void append(Messages& messages, Messages more) {
  for (std::string& message : more) messages.push_back(std::move(message));
}

// The pattern filled with the name, the id and the index when a record is not where its id says.
void check_own_id(std::string_view pattern, std::string_view name, std::uint32_t id, std::size_t index,
                  Messages& messages) {
  if (id == index) return;
  messages.push_back(diagnostics::fill_message(pattern, {name, id_text(id), id_text(index)}));
}

// The pattern filled with the name and the id when the id is outside a list of `size` records.
void check_range(std::string_view pattern, std::string_view name, std::uint32_t id, std::size_t size,
                 Messages& messages) {
  if (id < size) return;
  messages.push_back(diagnostics::fill_message(pattern, {name, id_text(id)}));
}

void check_reservoirs(const ModelGraph& graph, Messages& messages) {
  for (const Reservoir& reservoir : graph.reservoirs) {
    for (const Pool& pool : reservoir.pools) {
      check_range("reservoir `{}` holds unknown species {}", reservoir.name, pool.species, graph.species.size(),
                  messages);
    }
    for (const Pool& pool : reservoir.pools) {
      for (const Composition& composition : pool.compositions) {
        check_range("reservoir `{}` carries unknown isotope {}", reservoir.name, composition.isotope,
                    graph.isotopes.size(), messages);
      }
      for (const PoolDelta& delta : pool.deltas) {
        check_range("reservoir `{}` carries unknown isotope {}", reservoir.name, delta.isotope, graph.isotopes.size(),
                    messages);
      }
    }
    for (ParameterId parameter : reservoir.parameters) {
      check_range("reservoir `{}` owns unknown parameter {}", reservoir.name, parameter.index, graph.parameters.size(),
                  messages);
    }
  }
}

void check_endpoints(const ModelGraph& graph, const Process& process, Messages& messages) {
  const std::string& name = process.name;
  std::size_t species = graph.species.size();
  std::size_t reservoirs = graph.reservoirs.size();
  if (const auto* transfer = std::get_if<ProcessKind::Transfer>(&process.kind.kind)) {
    check_range("process `{}` has unknown reactant {}", name, transfer->reactant, species, messages);
    check_range("process `{}` has unknown product {}", name, transfer->product, species, messages);
  } else if (const auto* mixing = std::get_if<ProcessKind::Mixing>(&process.kind.kind)) {
    for (const MixingSource& source : mixing->sources) {
      check_range("process `{}` mixes unknown reservoir {}", name, source.reservoir, reservoirs, messages);
    }
    check_range("process `{}` mixes into unknown reservoir {}", name, mixing->product, reservoirs, messages);
  } else if (const auto* adsorption = std::get_if<ProcessKind::Adsorption>(&process.kind.kind)) {
    check_range("process `{}` has unknown reactant {}", name, adsorption->reactant, species, messages);
    check_range("process `{}` has unknown sorbent {}", name, adsorption->sorbent, species, messages);
  } else if (const auto* uptake = std::get_if<ProcessKind::Uptake>(&process.kind.kind)) {
    check_range("process `{}` has unknown reactant {}", name, uptake->reactant, species, messages);
    check_range("process `{}` has unknown sorbent {}", name, uptake->sorbent, species, messages);
  } else if (const auto* exchange = std::get_if<ProcessKind::Exchange>(&process.kind.kind)) {
    check_range("process `{}` has unknown phase {}", name, exchange->phase_a, species, messages);
    check_range("process `{}` has unknown phase {}", name, exchange->phase_b, species, messages);
  }
}

void check_place(std::string_view process, std::string_view relation, const std::optional<ReservoirId>& reservoir,
                 std::size_t reservoirs, Messages& messages) {
  if (!reservoir || *reservoir < reservoirs) return;
  messages.push_back(
      diagnostics::fill_message("process `{}` {} unknown reservoir {}", {process, relation, id_text(*reservoir)}));
}

void check_rate(const ModelGraph& graph, const Process& process, Messages& messages) {
  if (!process.kinetics) return;
  std::string subject = diagnostics::fill_message("rate of `{}`", {process.name});
  const RateLaw& rate = process.kinetics->rate;
  if (const auto* zero = std::get_if<RateLaw::ZeroOrder>(&rate.kind)) {
    append(messages, check_expr_refs(subject, graph, zero->constant));
  } else if (const auto* first = std::get_if<RateLaw::FirstOrder>(&rate.kind)) {
    append(messages, check_expr_refs(subject, graph, first->constant));
  } else if (const auto* second = std::get_if<RateLaw::SecondOrder>(&rate.kind)) {
    append(messages, check_expr_refs(subject, graph, second->constant));
  } else if (const auto* monod = std::get_if<RateLaw::Monod>(&rate.kind)) {
    append(messages, check_expr_refs(subject, graph, monod->constant));
    append(messages, check_expr_refs(subject, graph, monod->half_saturation));
  }
}

// The extent expression and the parameter list of a process are not examined.
void check_processes(const ModelGraph& graph, Messages& messages) {
  std::size_t reservoirs = graph.reservoirs.size();
  for (const Process& process : graph.processes) {
    check_endpoints(graph, process, messages);
    check_place(process.name, "sits in", process.location, reservoirs, messages);
    check_place(process.name, "draws from", process.from, reservoirs, messages);
    check_place(process.name, "delivers into", process.into, reservoirs, messages);
    for (const Fractionation& fractionation : process.fractionations) {
      check_range("process `{}` fractionates unknown isotope {}", process.name, fractionation.isotope,
                  graph.isotopes.size(), messages);
      if (const auto* law = std::get_if<FractionationFactor::Law>(&fractionation.factor.kind)) {
        append(messages, check_expr_refs(diagnostics::fill_message("law of `{}`", {process.name}), graph, law->expr));
      }
    }
    check_rate(graph, process, messages);
  }
}

void check_samples(const ModelGraph& graph, Messages& messages) {
  for (std::size_t i = 0; i < graph.samples.size(); ++i) {
    const Sample& sample = graph.samples[i];
    check_own_id("sample `{}` carries id {} at index {}", sample.name, sample.id, i, messages);
    for (const Composition& composition : sample.compositions) {
      check_range("sample `{}` carries unknown isotope {}", sample.name, composition.isotope, graph.isotopes.size(),
                  messages);
    }
  }
}

void check_backends(const ModelGraph& graph, Messages& messages) {
  for (const Backend& backend : graph.backends) {
    for (const BackendExport& exported : backend.exports) {
      if (exported.parameter.index < graph.parameters.size()) continue;
      messages.push_back(diagnostics::fill_message("backend `{}` exports `{}` into unknown parameter {}",
                                            {backend.name, exported.column, id_text(exported.parameter.index)}));
    }
  }
}

void check_identifications(const ModelGraph& graph, Messages& messages) {
  std::size_t samples = graph.samples.size();
  for (const Identification& identification : graph.identifications) {
    check_range("`{}` reads unknown source sample {}", identification.name, identification.source, samples, messages);
    check_range("`{}` reads unknown product sample {}", identification.name, identification.product, samples, messages);
    if (identification.source == identification.product) {
      messages.push_back(diagnostics::fill_message("`{}` compares a sample with itself", {identification.name}));
    }
  }
}

void check_simulation(const ModelGraph& graph, Messages& messages) {
  if (!graph.simulation) return;
  const Simulation& simulation = *graph.simulation;
  for (ReservoirId reservoir : simulation.reservoirs) {
    if (reservoir >= graph.reservoirs.size()) messages.push_back("model lists unknown reservoir " + id_text(reservoir));
  }
  for (ProcessId process : simulation.processes) {
    if (process >= graph.processes.size()) messages.push_back("model lists unknown process " + id_text(process));
  }
  if (simulation.stop) append(messages, check_variable_refs("stop condition", graph, simulation.stop->subject));
}

// An output's pool composition checks its isotope before its species, unlike a stop condition's.
void check_output(const ModelGraph& graph, const Output& output, Messages& messages) {
  const std::string& label = output.label;
  if (std::holds_alternative<Variable::Time>(output.variable.kind)) return;
  if (const auto* parameter = std::get_if<Variable::Parameter>(&output.variable.kind)) {
    check_range("{} reads unknown parameter {}", label, parameter->id.index, graph.parameters.size(), messages);
    return;
  }
  if (const auto* pool = std::get_if<Variable::PoolComposition>(&output.variable.kind)) {
    append(messages, check_variable_refs(label, graph, Subject{Subject::Composition{pool->reservoir, pool->isotope}}));
    check_range("{} names unknown species {}", label, pool->species, graph.species.size(), messages);
    return;
  }
  // The remaining kinds are those of a subject, with the same fields.
  Subject quantity;
  std::visit(
      [&](const auto& of) {
        using Of = std::decay_t<decltype(of)>;
        if constexpr (!std::is_same_v<Of, Variable::Parameter>) quantity.kind = of;
      },
      output.variable.kind);
  append(messages, check_variable_refs(label, graph, quantity));
}

}  // namespace

std::vector<std::string> check_model_graph(const ModelGraph& graph) {
  Messages messages;
  for (std::size_t i = 0; i < graph.species.size(); ++i) {
    check_own_id("species `{}` carries id {} at index {}", graph.species[i].formula, graph.species[i].id, i, messages);
  }
  for (std::size_t i = 0; i < graph.isotopes.size(); ++i) {
    check_own_id("isotope `{}` carries id {} at index {}", graph.isotopes[i].notation, graph.isotopes[i].id, i,
                 messages);
  }
  check_reservoirs(graph, messages);
  check_processes(graph, messages);
  for (const Parameter& parameter : graph.parameters) {
    if (!parameter.value) continue;
    append(messages, check_expr_refs(diagnostics::fill_message("parameter `{}`", {parameter.name}), graph, *parameter.value));
  }
  check_samples(graph, messages);
  check_backends(graph, messages);
  check_identifications(graph, messages);
  check_simulation(graph, messages);
  for (const Output& output : graph.outputs) check_output(graph, output, messages);
  return messages;
}

}  // namespace ovm::ir
