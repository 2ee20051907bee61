#pragma once

#include <cstddef>
#include <string_view>

namespace ovm::engine {

// Where the TOML string that opens at `at` (a quotation mark or an apostrophe, one or three)
// ends: one past its closing delimiter; for a one-line string left open, the line feed that
// ends its line; for a multi-line one left open, the end of the text. The parser reports
// strings left open; scanners only need to step over them.
std::size_t toml_string_end(std::string_view text, std::size_t at);

// Whether the string that opens at `at` is a multi-line basic string, the only kind whose
// backslash may end a line.
bool is_multi_line_basic(std::string_view text, std::size_t at);

}  // namespace ovm::engine
