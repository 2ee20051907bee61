#pragma once

#include <string>
#include <string_view>

namespace ovm::syntax {

// The canonical layout of a model text: block headers flush left, four spaces per nesting
// level, no white space at line ends, one blank line between blocks and runs of blank lines
// reduced to one, and a final line end. Works on lines alone; accepts any text.
std::string format_source(std::string_view text);

}  // namespace ovm::syntax
