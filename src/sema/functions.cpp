#include "sema/functions.hpp"

#include "diagnostics/text_match.hpp"

namespace ovm::sema {

bool is_function_name(std::string_view name) { return diagnostics::contains_str(name, function_names); }

}  // namespace ovm::sema
