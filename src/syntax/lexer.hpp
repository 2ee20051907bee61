#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "syntax/token.hpp"

namespace ovm::syntax {

struct LexOutput {
  std::vector<Token> tokens;  // in text order, always ending with one end-of-file token
  diagnostics::Diagnostics diagnostics;  // in the order found
};

// One forward pass over the whole text of one file. Never fails: what the language does not
// use becomes a diagnostic and an unrecognised-input token.
LexOutput lex(std::string_view text, std::uint32_t file);

}  // namespace ovm::syntax
