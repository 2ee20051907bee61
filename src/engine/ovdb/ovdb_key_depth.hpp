#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ovm::engine {

// The most dotted-key separators one TOML statement may hold. The TOML parser walks the tree
// it builds recursively and bounds only nested arrays and inline tables, so a key of millions
// of dotted parts would exhaust the stack; such a text is refused before it is parsed.
inline constexpr int max_key_dots_per_statement = 256;

// Scans a TOML text, skipping strings and comments, and describes the first place where one
// statement (a line, or several while a bracket is open) holds more key dots than allowed; a
// number's own decimal point is not counted. Nothing when the text stays within the bound.
std::optional<std::string> excessive_key_depth(std::string_view text);

}  // namespace ovm::engine
