#pragma once

#include <vector>

#include "ir/graph/graph_parameters.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// A parameter id is a bare integer, read by the u32 rule; whether it names a parameter is the
// consistency check's business.
void serialize_parameter_id(ParameterId id, JsonWriter& w);
void serialize_parameter_id_list(const std::vector<ParameterId>& ids, JsonWriter& w);
[[nodiscard]] JsonStatus deserialize_parameter_id(JsonInput in, ParameterId& out);
[[nodiscard]] JsonStatus deserialize_parameter_id_list(JsonInput in, std::vector<ParameterId>& out);

void serialize_parameter(const Parameter& parameter, JsonWriter& w);
[[nodiscard]] JsonStatus deserialize_parameter(JsonInput in, Parameter& out);
[[nodiscard]] JsonStatus deserialize_parameter_list(JsonInput in, std::vector<Parameter>& out);

}  // namespace ovm::ir
