#include "sema/variant_table.hpp"

namespace ovm::sema {
namespace {

const VariantSpec* find_variant(std::span<const VariantSpec> table, std::string_view text) {
  for (const VariantSpec& variant : table) {
    if (variant.name == text) return &variant;
  }
  return nullptr;
}

}  // namespace

const VariantSpec* process_type_spec(std::string_view text) { return find_variant(process_type_table, text); }

const VariantSpec* rate_law_spec(std::string_view text) { return find_variant(rate_law_table, text); }

}  // namespace ovm::sema
