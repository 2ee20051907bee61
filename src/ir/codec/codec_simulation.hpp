#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "ir/graph/graph_simulation.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_tagged.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// How the model advances and when it stops. A subject is internally tagged: its ids stand
// beside "kind". A stop value that is not finite is written `null` and cannot be read back.
void serialize_simulation(const Simulation& simulation, JsonWriter& w);
void serialize_stop_condition(const StopCondition& stop, JsonWriter& w);
void serialize_subject(const Subject& subject, JsonWriter& w);

[[nodiscard]] JsonStatus deserialize_simulation(JsonInput in, Simulation& out);
[[nodiscard]] JsonStatus deserialize_optional_simulation(JsonInput in, std::optional<Simulation>& out);
[[nodiscard]] JsonStatus deserialize_stop_condition(JsonInput in, StopCondition& out);
[[nodiscard]] JsonStatus deserialize_optional_stop_condition(JsonInput in, std::optional<StopCondition>& out);
// The whole subject is kept first; faults of its ids come out unplaced, for the stop
// condition's reader to place where it stops.
[[nodiscard]] JsonStatus deserialize_subject(JsonInput in, Subject& out);
[[nodiscard]] JsonStatus deserialize_progress(JsonInput in, Progress& out);
[[nodiscard]] JsonStatus deserialize_comparison(JsonInput in, Comparison& out);

// The quantities a subject names, in the order of its variants. An output's variable names
// the same quantities with the same tags and ids, but under "of", and adds a parameter.
inline constexpr JsonVariant subject_variants[] = {
    {"time", "Time", false},
    {"amount", "Amount"},
    {"composition", "Composition"},
    {"pool_composition", "PoolComposition"},
    {"fraction_remaining", "FractionRemaining"},
    {"fraction_reacted", "FractionReacted"},
};

// Writes the ids of the subject's variant, in declaration order, as members of the open object.
void serialize_subject_ids(const Subject& subject, JsonWriter& w);
// Reads the ids of `variant` as the record "struct variant <Enum>::<Variant>"; the content of
// an adjacently tagged variant is an object only, so it reads without the array form.
[[nodiscard]] JsonStatus deserialize_subject_ids(std::size_t variant, JsonInput in, std::string_view enum_name,
                                                 bool array_form, Subject& out);

}  // namespace ovm::ir
