#pragma once

#include <optional>
#include <vector>

#include "ir/graph/graph_processes.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// How a process fractionates and how fast it runs. A fractionation factor is adjacently tagged
// (its table content has no array form), a rate law internally tagged; a non-finite alpha or
// phase value is written `null`.
void serialize_fractionation(const Fractionation& fractionation, JsonWriter& w);
void serialize_fractionation_factor(const FractionationFactor& factor, JsonWriter& w);
void serialize_kinetics(const Kinetics& kinetics, JsonWriter& w);
void serialize_rate_law(const RateLaw& law, JsonWriter& w);

[[nodiscard]] JsonStatus deserialize_fractionation(JsonInput in, Fractionation& out);
[[nodiscard]] JsonStatus deserialize_fractionation_list(JsonInput in, std::vector<Fractionation>& out);
[[nodiscard]] JsonStatus deserialize_fractionation_factor(JsonInput in, FractionationFactor& out);
[[nodiscard]] JsonStatus deserialize_kinetics(JsonInput in, Kinetics& out);
[[nodiscard]] JsonStatus deserialize_optional_kinetics(JsonInput in, std::optional<Kinetics>& out);
// The faults of a law's members come out unplaced: the kinetics reader around places them.
[[nodiscard]] JsonStatus deserialize_rate_law(JsonInput in, RateLaw& out);

}  // namespace ovm::ir
