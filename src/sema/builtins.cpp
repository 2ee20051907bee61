#include "sema/builtins.hpp"

#include "sema/text_match.hpp"

namespace ovm::sema {

bool is_builtin_name(std::string_view name) { return contains_str(name, builtin_names); }

const NamedConstant* find_named_constant(std::string_view name) {
  for (const NamedConstant& constant : named_constants) {
    if (constant.name == name) return &constant;
  }
  return nullptr;
}

}  // namespace ovm::sema
