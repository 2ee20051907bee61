#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "ir/graph/graph_expressions.hpp"
#include "ir/graph/graph_ids.hpp"

namespace ovm::ir {

// The mode of a transfer.
enum class Mechanism : std::uint8_t {
  Reduction = 0,
  Oxidation = 1,
  Dissolution = 2,
  Precipitation = 3,
  Evaporation = 4,
  Diffusion = 5,
  LigandExchange = 6,
};

// The setting of a process, which chooses among database fractionation factors.
enum class Context : std::uint8_t { Pyrometallurgy = 0, Hydrometallurgy = 1, Natural = 2, Biotic = 3 };

enum class Regime : std::uint8_t { Equilibrium = 0, Kinetic = 1 };

// One reservoir contributing to a mixture.
struct MixingSource {
  ReservoirId reservoir = 0;
  double fraction = 0;  // its share of the mixture

  friend bool operator==(const MixingSource&, const MixingSource&) = default;
};

// What a process transforms. Endpoints are species ids, except a mixing's, which are reservoirs.
struct ProcessKind {
  struct Transfer {
    SpeciesId reactant = 0;
    SpeciesId product = 0;
    Mechanism mode = Mechanism::Reduction;

    friend bool operator==(const Transfer&, const Transfer&) = default;
  };
  struct Mixing {
    std::vector<MixingSource> sources;
    ReservoirId product = 0;  // the reservoir the mixture forms in

    friend bool operator==(const Mixing&, const Mixing&) = default;
  };
  struct Adsorption {
    SpeciesId reactant = 0;
    SpeciesId sorbent = 0;

    friend bool operator==(const Adsorption&, const Adsorption&) = default;
  };
  struct Uptake {
    SpeciesId reactant = 0;
    SpeciesId sorbent = 0;

    friend bool operator==(const Uptake&, const Uptake&) = default;
  };
  struct Exchange {
    SpeciesId phase_a = 0;
    SpeciesId phase_b = 0;

    friend bool operator==(const Exchange&, const Exchange&) = default;
  };

  // Spelled out: inside its own struct a nested alternative does not count as default-constructible.
  std::variant<Transfer, Mixing, Adsorption, Uptake, Exchange> kind = Transfer{};

  friend bool operator==(const ProcessKind&, const ProcessKind&) = default;
};

struct FractionationFactor {
  struct Constant {
    double alpha = 0;  // an epsilon in permil is stored as epsilon / 1000 + 1

    friend bool operator==(const Constant&, const Constant&) = default;
  };
  struct Law {
    Expr expr;  // its value is alpha

    friend bool operator==(const Law&, const Law&) = default;
  };
  struct Table {
    std::string path;  // the engine does not evaluate tables

    friend bool operator==(const Table&, const Table&) = default;
  };

  std::variant<Constant, Law, Table> kind = Constant{};

  friend bool operator==(const FractionationFactor&, const FractionationFactor&) = default;
};

// One isotope fractionation of a process.
struct Fractionation {
  IsotopeId isotope = 0;
  FractionationFactor factor;
  std::optional<double> phase_permil;

  friend bool operator==(const Fractionation&, const Fractionation&) = default;
};

struct RateLaw {
  struct ZeroOrder {
    Expr constant;

    friend bool operator==(const ZeroOrder&, const ZeroOrder&) = default;
  };
  struct FirstOrder {
    Expr constant;

    friend bool operator==(const FirstOrder&, const FirstOrder&) = default;
  };
  struct SecondOrder {
    Expr constant;

    friend bool operator==(const SecondOrder&, const SecondOrder&) = default;
  };
  struct Monod {
    Expr constant;
    Expr half_saturation;

    friend bool operator==(const Monod&, const Monod&) = default;
  };

  std::variant<ZeroOrder, FirstOrder, SecondOrder, Monod> kind = ZeroOrder{};

  friend bool operator==(const RateLaw&, const RateLaw&) = default;
};

struct Kinetics {
  RateLaw rate;

  friend bool operator==(const Kinetics&, const Kinetics&) = default;
};

struct Process {
  ProcessId id = 0;
  std::string name;
  ProcessKind kind;
  std::optional<ReservoirId> location;  // the reservoir the process takes place in
  std::optional<ReservoirId> from;      // the reservoir it draws from
  std::optional<ReservoirId> into;      // the reservoir it delivers into
  std::optional<Expr> extent;           // the fraction it reacts when the model advances by extent
  std::optional<Context> context;
  std::optional<Regime> regime;
  std::vector<Fractionation> fractionations;  // at most one per isotope system
  std::optional<Kinetics> kinetics;
  std::vector<ParameterId> parameters;  // declared inside the PROCESS block, in declaration order
  bool open_system = false;             // the engine then applies the Rayleigh form whatever the regime

  friend bool operator==(const Process&, const Process&) = default;
};

}  // namespace ovm::ir
