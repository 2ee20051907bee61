#pragma once

#include <optional>
#include <vector>

#include "ir/graph/graph_processes.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_kept.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// The processes of the model. A process's kind is internally tagged, so its text holds the key
// "kind" twice, one inside the other; every member is written, absent ones as `null`.
void serialize_process(const Process& process, JsonWriter& w);
void serialize_process_kind(const ProcessKind& kind, JsonWriter& w);
void serialize_mixing_source(const MixingSource& source, JsonWriter& w);
void serialize_mechanism(Mechanism mechanism, JsonWriter& w);
void serialize_context(const std::optional<Context>& context, JsonWriter& w);
void serialize_regime(const std::optional<Regime>& regime, JsonWriter& w);

[[nodiscard]] JsonStatus deserialize_process(JsonInput in, Process& out);
[[nodiscard]] JsonStatus deserialize_process_list(JsonInput in, std::vector<Process>& out);
// The whole kind is kept first; faults of its fields come out unplaced, for the process's
// reader to place where it stops.
[[nodiscard]] JsonStatus deserialize_process_kind(JsonInput in, ProcessKind& out);
// A source and a mode exist only inside a kind, read from the text when the kind's tag comes
// first and from the kept kind otherwise. A kept mode may also be {"name": {}}.
[[nodiscard]] JsonStatus deserialize_mixing_source(JsonInput in, MixingSource& out);
[[nodiscard]] JsonStatus deserialize_mechanism(JsonInput in, Mechanism& out);
// `null` reads as absent; the name is a string or {"name": null}.
[[nodiscard]] JsonStatus deserialize_context(JsonInput in, std::optional<Context>& out);
[[nodiscard]] JsonStatus deserialize_regime(JsonInput in, std::optional<Regime>& out);

}  // namespace ovm::ir
