#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "ir/graph/graph_ids.hpp"

namespace ovm::ir {

// A quantity of the model state; every field is an id.
struct Subject {
  struct Time {  // the model clock, s
    friend bool operator==(const Time&, const Time&) = default;
  };
  struct Amount {  // of the species' pool in the reservoir
    ReservoirId reservoir = 0;
    SpeciesId species = 0;

    friend bool operator==(const Amount&, const Amount&) = default;
  };
  struct Composition {  // of the reservoir as a whole, permil
    ReservoirId reservoir = 0;
    IsotopeId isotope = 0;

    friend bool operator==(const Composition&, const Composition&) = default;
  };
  struct PoolComposition {  // of one pool, permil
    ReservoirId reservoir = 0;
    SpeciesId species = 0;
    IsotopeId isotope = 0;

    friend bool operator==(const PoolComposition&, const PoolComposition&) = default;
  };
  struct FractionRemaining {  // of the pool's starting amount
    ReservoirId reservoir = 0;
    SpeciesId species = 0;

    friend bool operator==(const FractionRemaining&, const FractionRemaining&) = default;
  };
  struct FractionReacted {  // of the pool's starting amount
    ReservoirId reservoir = 0;
    SpeciesId species = 0;

    friend bool operator==(const FractionReacted&, const FractionReacted&) = default;
  };

  // Spelled out: inside its own struct a nested alternative does not count as default-constructible.
  std::variant<Time, Amount, Composition, PoolComposition, FractionRemaining, FractionReacted> kind = Time{};

  friend bool operator==(const Subject&, const Subject&) = default;
};

// In the order of the operators <, <=, >, >=, ==, != of the MODEL `until` statement.
enum class Comparison : std::uint8_t {
  Less = 0,
  LessEqual = 1,
  Greater = 2,
  GreaterEqual = 3,
  Equal = 4,
  NotEqual = 5,
};

// A time-driven run stops once the subject stands in the comparison to the value.
struct StopCondition {
  Subject subject;
  Comparison comparison = Comparison::Less;
  double value = 0;  // in the base unit of the subject's quantity

  friend bool operator==(const StopCondition&, const StopCondition&) = default;
};

// What drives a run: a clock, or each listed process acting once by its extent.
enum class Progress : std::uint8_t { Time = 0, Extent = 1 };

struct Simulation {
  std::string name;                     // empty for a MODEL block without one
  std::vector<ReservoirId> reservoirs;  // the reservoirs the run covers
  std::vector<ProcessId> processes;     // in the order they are applied
  std::optional<double> step_seconds;
  Progress progress = Progress::Time;
  std::optional<StopCondition> stop;

  friend bool operator==(const Simulation&, const Simulation&) = default;
};

}  // namespace ovm::ir
