#pragma once

#include <functional>
#include <string>
#include <variant>

#include "ir/json/json_writer.hpp"
#include "json_test_support.hpp"

namespace ovm::ir::testing {

// The text one writer produces for `value` at level 0; a writer error shows as "error: ...".
template <class T, class Write>
std::string written(const T& value, Write write) {
  JsonWriter w;
  write(value, w);
  auto done = json_finish(std::move(w));
  if (auto* text = std::get_if<std::string>(&done)) return *text;
  return "error: " + std::get<JsonWriteError>(done).message;
}

// Reads `text` with `read` into a fresh record: "ok" or the error with its place.
template <class T, class ReadRecord>
std::string read_into(std::string_view text, T& out, ReadRecord read) {
  return outcome(text, [&](JsonInput in) { return read(in, out); });
}

// Reads `text` with `read` from a kept value: "ok" or the unplaced message.
template <class T, class ReadRecord>
std::string read_kept_into(std::string_view text, T& out, ReadRecord read) {
  return kept_outcome(text, [&](JsonInput in) { return read(in, out); });
}

}  // namespace ovm::ir::testing
