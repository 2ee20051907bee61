#include "sema/validate_endpoints.hpp"

#include <array>
#include <string_view>

#include "sema/property_table.hpp"
#include "sema/validate_reading.hpp"
#include "sema/validate_reference_value.hpp"

namespace ovm::sema {
namespace {

constexpr auto endpoint_keys = std::to_array<std::string_view>({"reactant", "product", "sorbent", "phase_a", "phase_b"});

// The kind resolution looked the key's value up as.
std::string_view resolved_as(std::string_view key) {
  for (const PropertySpec& property : property_lists::process_properties) {
    if (property.key == key && property.reference_kind) return *property.reference_kind;
  }
  return {};
}

}  // namespace

void check_process_endpoints(ValidationContext& context, const VariantSpec& variant, const syntax::Block& block) {
  for (const syntax::Statement& statement : block.statements) {
    const syntax::Value* first = first_value(statement);
    if (first == nullptr) continue;
    for (std::string_view key : endpoint_keys) {
      if (!key_is(statement, key)) continue;
      if (!variant.counts_sources) {
        check_reference_value(context, *first, "Species", resolved_as(key));
      } else if (key == "product") {
        // A mixing forms in a reservoir; its other endpoints are not read.
        check_reference_value(context, *first, "Reservoir", resolved_as(key));
      }
    }
  }
}

}  // namespace ovm::sema
