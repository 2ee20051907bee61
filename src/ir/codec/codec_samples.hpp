#pragma once

#include <vector>

#include "ir/graph/graph_samples.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// Measured samples and the identifications between them. Every member is written, absent ones
// as `null`; an identification's context and regime are free texts, not the process enums.
void serialize_sample(const Sample& sample, JsonWriter& w);
void serialize_identification(const Identification& identification, JsonWriter& w);
void serialize_identification_mode(IdentificationMode mode, JsonWriter& w);

// Ids are read as plain integers: whether they name a sample is the consistency check's business.
[[nodiscard]] JsonStatus deserialize_sample(JsonInput in, Sample& out);
[[nodiscard]] JsonStatus deserialize_sample_list(JsonInput in, std::vector<Sample>& out);
[[nodiscard]] JsonStatus deserialize_identification(JsonInput in, Identification& out);
[[nodiscard]] JsonStatus deserialize_identification_list(JsonInput in, std::vector<Identification>& out);
[[nodiscard]] JsonStatus deserialize_identification_mode(JsonInput in, IdentificationMode& out);

}  // namespace ovm::ir
