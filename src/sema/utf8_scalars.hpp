#pragma once

#include <string>
#include <string_view>

namespace ovm::sema {

// The Unicode scalar values of a UTF-8 text. Model texts are checked UTF-8, but each byte of
// an ill-formed sequence still reads as one U+FFFD so that any text can be compared.
std::u32string utf8_scalars(std::string_view text);

}  // namespace ovm::sema
