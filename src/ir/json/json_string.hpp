#pragma once

#include <string>
#include <string_view>

namespace ovm::ir {

// Appends `text` as a JSON string: the double quote and the backslash behind a backslash,
// \b \t \n \f \r for their control characters, \u00xx (lower-case hexadecimal) for the other
// characters below U+0020, and every other byte as it is (slash, U+007F and non-ASCII UTF-8).
void append_json_string(std::string& out, std::string_view text);

// The most bytes the JSON string of `text` can take: every byte as \u00xx, and the quotes.
constexpr std::size_t json_string_bound(std::size_t bytes) { return 6 * bytes + 2; }

// Writes the JSON string of `text` at `out`, which has room for json_string_bound bytes, and
// returns where it ends.
char* write_json_string(char* out, std::string_view text);

std::string json_string_text(std::string_view text);

}  // namespace ovm::ir
