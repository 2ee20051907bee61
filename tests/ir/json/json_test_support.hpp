#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ir/json/json_input.hpp"

namespace ovm::ir::testing {

using Read = std::function<JsonStatus(JsonInput)>;

// Reads `text` as one document: "ok", or the error's display text with its line and column.
std::string outcome(std::string_view text, const Read& read);

// Keeps the whole of `text` first and then reads the kept value: "ok", or the error's message.
// Errors in kept values have no place of their own; one that has is shown after "placed: ".
std::string kept_outcome(std::string_view text, const Read& read);

// Keeps the whole of `text` as one document; a malformed text fails the test.
KeptValue keep(std::string_view text);

}  // namespace ovm::ir::testing
