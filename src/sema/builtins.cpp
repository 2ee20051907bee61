#include "sema/builtins.hpp"

#include "diagnostics/text_match.hpp"

namespace ovm::sema {

bool is_builtin_name(std::string_view name) { return diagnostics::contains_str(name, builtin_names); }

const NamedConstant* find_named_constant(std::string_view name) {
  for (const NamedConstant& constant : named_constants) {
    if (constant.name == name) return &constant;
  }
  return nullptr;
}

}  // namespace ovm::sema
