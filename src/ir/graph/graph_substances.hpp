#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "ir/graph/graph_ids.hpp"

namespace ovm::ir {

struct Species {
  SpeciesId id = 0;
  std::string formula;                 // as written, such as Cr(VI); unique within the graph
  std::optional<std::string> element;  // from the formula's leading capital letter, if any

  friend bool operator==(const Species&, const Species&) = default;
};

// A reference standard of an isotope ratio.
struct Standard {
  std::string name;
  double ratio = 0;                   // absolute, numerator over denominator
  std::optional<double> uncertainty;  // the number written in the model, unconverted

  friend bool operator==(const Standard&, const Standard&) = default;
};

struct IsotopeSystem {
  IsotopeId id = 0;
  std::string notation;  // the ratio as written, 53Cr/52Cr
  std::string element;
  std::uint16_t heavy_mass = 0;  // the numerator's mass number, even when it is the lighter one
  std::uint16_t light_mass = 0;  // the denominator's mass number
  std::optional<Standard> standard;
  bool relative = false;  // declared by an ISOTOPES block in relative mode

  friend bool operator==(const IsotopeSystem&, const IsotopeSystem&) = default;
};

// The size of a reservoir.
struct Extent {
  struct Volume {
    double litres = 0;

    friend bool operator==(const Volume&, const Volume&) = default;
  };
  struct Mass {
    double kilograms = 0;

    friend bool operator==(const Mass&, const Mass&) = default;
  };

  // Spelled out: inside its own struct a nested alternative does not count as default-constructible.
  std::variant<Volume, Mass> kind = Volume{};

  friend bool operator==(const Extent&, const Extent&) = default;
};

// A pool's amount, kept in the dimension the model stated it in.
struct Amount {
  struct Molality {
    double mol_per_kgw = 0;

    friend bool operator==(const Molality&, const Molality&) = default;
  };
  struct MassConcentration {
    double mg_per_l = 0;

    friend bool operator==(const MassConcentration&, const MassConcentration&) = default;
  };

  std::variant<Molality, MassConcentration> kind = Molality{};

  friend bool operator==(const Amount&, const Amount&) = default;
};

// An isotopic composition as an absolute ratio; a delta in the model is converted with the
// standard of its isotope system.
struct Composition {
  IsotopeId isotope = 0;
  double ratio = 0;  // numerator over denominator

  friend bool operator==(const Composition&, const Composition&) = default;
};

// A composition kept as the delta it was written as, for an isotope system whose standard
// only a database gives: the run measures it against the standard it takes.
struct PoolDelta {
  IsotopeId isotope = 0;
  double delta_permil = 0;

  friend bool operator==(const PoolDelta&, const PoolDelta&) = default;
};

// One species held by a reservoir.
struct Pool {
  SpeciesId species = 0;
  Amount amount;
  std::vector<Composition> compositions;  // for the elements of the pool's formula, in statement order
  std::vector<PoolDelta> deltas;          // likewise, for isotope systems without a standard of their own

  friend bool operator==(const Pool&, const Pool&) = default;
};

struct Reservoir {
  ReservoirId id = 0;
  std::string name;
  std::optional<Extent> extent;  // absent when the block states neither volume nor mass
  std::optional<double> temperature_k;
  std::vector<Pool> pools;              // in statement order
  std::vector<ParameterId> parameters;  // declared inside the block, in declaration order

  friend bool operator==(const Reservoir&, const Reservoir&) = default;
};

}  // namespace ovm::ir
