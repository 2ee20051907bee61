#pragma once

#include "ir/graph/graph_provenance.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// The header records of the lowered-model file. The writers put every member in declaration
// order, absent ones as `null`, except a database reference's `resolved`, left out when absent.
void serialize_meta(const Meta& meta, JsonWriter& w);
void serialize_provenance(const Provenance& provenance, JsonWriter& w);
void serialize_database_ref(const DatabaseRef& database, JsonWriter& w);
void serialize_conditions(const Conditions& conditions, JsonWriter& w);

// Meta and Conditions default every member and reject keys they do not list; Provenance and
// DatabaseRef skip such keys.
[[nodiscard]] JsonStatus deserialize_meta(JsonInput in, Meta& out);
[[nodiscard]] JsonStatus deserialize_provenance(JsonInput in, Provenance& out);
[[nodiscard]] JsonStatus deserialize_database_ref(JsonInput in, DatabaseRef& out);
[[nodiscard]] JsonStatus deserialize_conditions(JsonInput in, Conditions& out);

}  // namespace ovm::ir
