#pragma once

#include <variant>
#include <vector>

#include "ir/graph/graph_ids.hpp"

namespace ovm::engine {

// One recorded state of a backend export, time in s.
struct SeriesPoint {
  double time = 0;
  double value = 0;

  friend bool operator==(const SeriesPoint&, const SeriesPoint&) = default;
};

// A backend export read in series mode, in ascending time; points of equal time keep the order
// the backend wrote them in.
using BackendSeries = std::vector<SeriesPoint>;

// What a backend run yields for one export.
struct BackendExportValue {
  struct Oneshot {
    ir::ParameterId parameter;
    double value = 0;

    friend bool operator==(const Oneshot&, const Oneshot&) = default;
  };
  struct Series {
    ir::ParameterId parameter;
    BackendSeries series;

    friend bool operator==(const Series&, const Series&) = default;
  };

  // Spelled out: inside its own struct a nested alternative does not count as default-constructible.
  std::variant<Oneshot, Series> kind = Oneshot{};

  friend bool operator==(const BackendExportValue&, const BackendExportValue&) = default;
};

}  // namespace ovm::engine
