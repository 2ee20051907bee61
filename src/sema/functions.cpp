#include "sema/functions.hpp"

#include "sema/text_match.hpp"

namespace ovm::sema {

bool is_function_name(std::string_view name) { return contains_str(name, function_names); }

}  // namespace ovm::sema
