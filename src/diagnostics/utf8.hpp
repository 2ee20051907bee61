#pragma once

#include <string>
#include <string_view>

namespace ovm::diagnostics {

// Arguments and paths are kept as the platform's bytes; this is only the form printed in a
// message: valid UTF-8 unchanged, each ill-formed sequence replaced by U+FFFD.
std::string display_text(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (no surrogates, no overlong forms).
bool is_valid_utf8(std::string_view bytes);

}  // namespace ovm::diagnostics
