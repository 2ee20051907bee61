#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ir/json/json_callback.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_kept.hpp"
#include "ir/json/json_text.hpp"

namespace ovm::ir {

// Where the next value is read from: the document text at the reader's position, or a value
// kept earlier. Every reader below reads exactly one value from it, by the same rules on both
// roads; only the places of errors differ (none in a kept value, see `JsonError`).
// Two pointers, so that it is handed on in two registers rather than through memory.
struct JsonInput {
  JsonReader* reader = nullptr;
  const KeptValue* kept = nullptr;
};

inline JsonInput text_input(JsonReader& r) { return JsonInput{&r, nullptr}; }
inline JsonInput kept_input(const KeptValue& value) { return JsonInput{nullptr, &value}; }
// The rest of an object whose opening brace and first member (an internally tagged enum's
// tag) are read, as the next value of the text. Only `read_record` takes such a value.
inline JsonInput object_rest_input(JsonReader& r) {
  r.object_rest = true;
  return text_input(r);
}

// An error about the value just read: placed where the text reader stands, or unplaced.
JsonError value_error(JsonInput in, std::string message);

// The next value as far as a scalar reader needs it: a text scalar is read into `scratch`,
// an array or object is only looked at; a kept value is pointed at.
[[nodiscard]] JsonStatus take_value(JsonInput in, KeptValue& scratch, const KeptValue*& value);

// A JSON integer from 0 to the type's largest value ("u32", "u16"); a negative or larger one
// is an invalid value, a number with a fraction or exponent and any other value an invalid type.
[[nodiscard]] JsonStatus read_u32(JsonInput in, std::uint32_t& out);
[[nodiscard]] JsonStatus read_u16(JsonInput in, std::uint16_t& out);
// Any JSON number, integers converted to the nearest double.
[[nodiscard]] JsonStatus read_f64(JsonInput in, double& out);
[[nodiscard]] JsonStatus read_string(JsonInput in, std::string& out);
[[nodiscard]] JsonStatus read_bool(JsonInput in, bool& out);

// Reads a `null` when one comes next, and says so; reads nothing otherwise.
[[nodiscard]] JsonStatus take_null(JsonInput in, bool& was_null);

// A JSON array, each element handed in order to `read_element`; else "expected a sequence".
[[nodiscard]] JsonStatus read_elements(JsonInput in, const JsonCallback<JsonStatus(JsonInput)>& read_element);

template <class T, class Read>
[[nodiscard]] JsonStatus read_optional(JsonInput in, std::optional<T>& out, Read read) {
  bool was_null = false;
  if (auto error = take_null(in, was_null)) return error;
  if (was_null) {
    out.reset();
    return std::nullopt;
  }
  T value{};
  if (auto error = read(in, value)) return error;
  out = std::move(value);
  return std::nullopt;
}

template <class T, class Read>
[[nodiscard]] JsonStatus read_list(JsonInput in, std::vector<T>& out, Read read) {
  out.clear();
  return read_elements(in, [&](JsonInput element) -> JsonStatus {
    T item{};
    if (auto error = read(element, item)) return error;
    out.push_back(std::move(item));
    return std::nullopt;
  });
}

// Reads one whole document: the root value by `read_root`, then nothing but white space.
// Every error that comes out of it is placed.
[[nodiscard]] JsonStatus read_json_document(std::string_view text,
                                            const std::function<JsonStatus(JsonInput)>& read_root);

}  // namespace ovm::ir
