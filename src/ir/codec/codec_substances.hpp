#pragma once

#include <optional>
#include <vector>

#include "ir/graph/graph_substances.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"
#include "ir/json/json_writer.hpp"

namespace ovm::ir {

// The chemistry of the model: species, isotope systems with their standards, reservoirs with
// their extents and pools, the amounts and compositions of pools. An extent is internally
// tagged, an amount adjacently tagged.
void serialize_species(const Species& species, JsonWriter& w);
void serialize_isotope_system(const IsotopeSystem& system, JsonWriter& w);
void serialize_standard(const Standard& standard, JsonWriter& w);
void serialize_reservoir(const Reservoir& reservoir, JsonWriter& w);
void serialize_extent(const Extent& extent, JsonWriter& w);
void serialize_pool(const Pool& pool, JsonWriter& w);
void serialize_amount(const Amount& amount, JsonWriter& w);
void serialize_composition(const Composition& composition, JsonWriter& w);

[[nodiscard]] JsonStatus deserialize_species(JsonInput in, Species& out);
[[nodiscard]] JsonStatus deserialize_isotope_system(JsonInput in, IsotopeSystem& out);
[[nodiscard]] JsonStatus deserialize_standard(JsonInput in, Standard& out);
[[nodiscard]] JsonStatus deserialize_optional_standard(JsonInput in, std::optional<Standard>& out);
[[nodiscard]] JsonStatus deserialize_reservoir(JsonInput in, Reservoir& out);
[[nodiscard]] JsonStatus deserialize_extent(JsonInput in, Extent& out);
[[nodiscard]] JsonStatus deserialize_optional_extent(JsonInput in, std::optional<Extent>& out);
[[nodiscard]] JsonStatus deserialize_pool(JsonInput in, Pool& out);
[[nodiscard]] JsonStatus deserialize_amount(JsonInput in, Amount& out);
[[nodiscard]] JsonStatus deserialize_composition(JsonInput in, Composition& out);
[[nodiscard]] JsonStatus deserialize_pool_delta(JsonInput in, PoolDelta& out);

[[nodiscard]] JsonStatus deserialize_species_list(JsonInput in, std::vector<Species>& out);
[[nodiscard]] JsonStatus deserialize_isotope_system_list(JsonInput in, std::vector<IsotopeSystem>& out);
[[nodiscard]] JsonStatus deserialize_reservoir_list(JsonInput in, std::vector<Reservoir>& out);
[[nodiscard]] JsonStatus deserialize_composition_list(JsonInput in, std::vector<Composition>& out);

}  // namespace ovm::ir
