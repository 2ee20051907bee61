#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace ovm::diagnostics {

// A message written with "{}" placeholders, each replaced in order by the next argument, so
// that a message reads in the code as it reads to the user: "`{}` is a {}, not a {}".
// Placeholders without an argument stay as written; surplus arguments are dropped.
std::string fill_message(std::string_view pattern, std::initializer_list<std::string_view> arguments);

}  // namespace ovm::diagnostics
