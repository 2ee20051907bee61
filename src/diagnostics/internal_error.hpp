#pragma once

#include <string_view>

namespace ovm::diagnostics {

// A broken invariant of the program itself, never a problem of the input: prints
// "ovm: internal error: <what>" on the standard error and ends the process with status 3.
[[noreturn]] void internal_error(std::string_view what);

}  // namespace ovm::diagnostics
