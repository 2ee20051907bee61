#pragma once

#include <string>
#include <string_view>

namespace ovm::sema {

// The full Unicode default lower case of a whole UTF-8 text, as scalar values: one scalar may
// become several (U+0130 gives i and a combining dot), and a capital sigma at the end of a
// word becomes the final sigma. Suggestions compare words in this form.
std::u32string lower_case_scalars(std::string_view text);

}  // namespace ovm::sema
