#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <variant>
#include <vector>

#include "engine/base/engine_error.hpp"
#include "engine/ovdb/ovdb_records.hpp"
#include "engine/phreeqc/phreeqc_exports.hpp"
#include "engine/simulation/eval_scratch.hpp"
#include "ir/graph/model_graph.hpp"
#include "ir/results/results_file.hpp"

namespace ovm::engine {

// What a pool's amount number measures. The engine converts no units, so amounts of unlike
// kinds are never added together.
enum class AmountKind { Molality, MassConcentration };

// The run-time state of one species pool. The amount is the model's number whatever its kind
// (molality or mass concentration): the engine converts no units. A pool a process creates has
// no kind until matter arrives, then the kind of its source.
struct PoolState {
  PoolState() = default;
  PoolState(double amount, std::map<ir::IsotopeId, double> deltas = {}, std::optional<AmountKind> kind = std::nullopt)
      : amount(amount), deltas(std::move(deltas)), kind(kind) {}

  double amount = 0;
  std::map<ir::IsotopeId, double> deltas;  // permil
  std::optional<AmountKind> kind;

  friend bool operator==(const PoolState&, const PoolState&) = default;
};

struct ReservoirState {
  std::string name;
  std::map<ir::SpeciesId, PoolState> pools;  // visited in ascending species id

  friend bool operator==(const ReservoirState&, const ReservoirState&) = default;
};

// What one cell of a recorded row reads, set up at the first row of a run.
struct RowReader {
  ir::Variable variable;                   // the output's
  std::vector<ir::ReservoirId> reservoirs;  // the one it names and every other of that name, last first
  bool recorded = true;                    // false for a parameter id that no parameter carries
};

// A fractionation factor a process took from a database, for the run's note.
struct FactorNote {
  std::string subject;  // "<process> on <isotope notation>"
  std::string database;
  std::string citation;
  std::optional<std::string> warning;  // the entry is applied outside its measured range

  friend bool operator==(const FactorNote&, const FactorNote&) = default;
};

// A delta of a process's product, by isotope system, in the order computed.
using ProductDeltas = std::vector<std::pair<ir::IsotopeId, double>>;

// How many steps a time-driven run takes before it gives up with the step limit error.
inline constexpr std::uint32_t default_step_limit = 1'000'000;

// The start amounts, by (reservoir name, species id).
using StartAmounts = std::map<std::pair<std::string, ir::SpeciesId>, double>;

// Everything one run changes. Entry i of `reservoirs` belongs to the model's reservoir with id
// i; the ids the graph consistency check covers are in range, since the run command checks the
// graph before the run.
struct SimulationState {
  ir::ModelGraph model;
  DatabaseSet databases;
  std::vector<FactorNote> factor_notes;  // each distinct note once, in the order first taken
  std::unordered_set<std::string> noted_factors;  // the keys of `factor_notes`
  std::vector<ReservoirState> reservoirs;
  std::vector<ir::ResultsDiagnostic> diagnostics;  // raised while simulating
  ir::ResultsTable rows;                           // what the outputs read, in recording order
  std::optional<std::vector<RowReader>> row_readers;  // one per output, from the first row on
  double clock = 0;                                // s of model time
  double last_recorded = -std::numeric_limits<double>::infinity();
  StartAmounts start_amounts;
  std::map<ir::ParameterId, BackendSeries> series;
  // Reused by every evaluation, which only reads the state otherwise.
  mutable EvalScratch eval_scratch;
  ProductDeltas product_deltas;  // the working list of the process applied last

  std::uint32_t step_limit = default_step_limit;
};

// The number of a pool's amount, whatever its kind.
double amount_number(const ir::Amount& amount);

AmountKind amount_kind(const ir::Amount& amount);

// The formula of a species of the model, or an empty text for an id it does not hold.
std::string_view formula_text(const ir::ModelGraph& model, ir::SpeciesId id);

// The unit of an amount of this kind, as its result column names it.
std::string_view amount_unit(AmountKind kind);

// Takes an amount of `incoming` kind into a pool: an unkinded pool takes it on; a pool of
// another kind refuses it with the OV402 error that names `process`, the species' formula
// and the reservoir.
std::optional<EngineError> take_amount_kind(PoolState& pool, std::optional<AmountKind> incoming,
                                            std::string_view process, std::string_view species,
                                            std::string_view reservoir);

// The run-time state of a reservoir at the start: each pool's amount number and, for each of
// its compositions, the delta (ratio / standard ratio - 1) x 1000. A later composition of the
// same isotope, or a later pool of the same species, replaces the earlier one. Every isotope
// system has a standard by then (the run checks that first); a composition whose system has
// none, or whose isotope id is out of range, gives no delta.
ReservoirState initial_reservoir_state(const ir::Reservoir& reservoir, const std::vector<ir::IsotopeSystem>& isotopes);

}  // namespace ovm::engine
