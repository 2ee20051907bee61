#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ir/json_keys.hpp"

namespace ovm::ir {

// Why a document could not be written.
struct JsonWriteError {
  std::string message;
};

// The pretty writer of the lowered-model and results files: two blanks of indent per level,
// every member and element on a line of its own, "[]" and "{}" when empty, and no newline
// after the root's closing bracket. Values are written one after the other by the functions
// below; the writer places the separators and the indent.
struct JsonWriter {
  std::string text;  // bytes [0, used) are written, the rest is room for what follows
  std::size_t used = 0;
  std::vector<std::uint8_t> filled;  // one per open object or list: whether it holds an entry yet
  std::optional<JsonWriteError> error;  // the first failure; the text is then worthless
  // Where the text goes piece by piece, when set: the text then holds only what is not handed
  // over yet. Returns false when it could not take a piece.
  std::function<bool(std::string_view)> sink{};
  bool sink_failed = false;
};


void json_begin_object(JsonWriter& w);
void json_end_object(JsonWriter& w);
void json_begin_list(JsonWriter& w);
void json_end_list(JsonWriter& w);

// Starts a member of the open object: its key and ": "; the member's value follows.
void json_key(JsonWriter& w, std::string_view key);
// Starts an element of the open list; the element's value follows.
void json_item(JsonWriter& w);

void json_null(JsonWriter& w);
void json_bool(JsonWriter& w, bool value);
void json_unsigned(JsonWriter& w, std::uint64_t value);
void json_double(JsonWriter& w, double value);  // `null` when not finite
// Fails the writer when the text is not UTF-8, which no JSON document may hold.
void json_string(JsonWriter& w, std::string_view text);

void json_optional_string(JsonWriter& w, const std::optional<std::string>& text);
void json_optional_double(JsonWriter& w, const std::optional<double>& value);
void json_optional_unsigned(JsonWriter& w, const std::optional<std::uint64_t>& value);

// A member and its value in one: the key, then the value as the functions above write it.
void json_member_string(JsonWriter& w, std::string_view key, std::string_view text);
void json_member_optional_string(JsonWriter& w, std::string_view key, const std::optional<std::string>& text);
void json_member_double(JsonWriter& w, std::string_view key, double value);
void json_member_optional_double(JsonWriter& w, std::string_view key, const std::optional<double>& value);
void json_member_unsigned(JsonWriter& w, std::string_view key, std::uint64_t value);
void json_member_optional_unsigned(JsonWriter& w, std::string_view key, const std::optional<std::uint64_t>& value);
void json_member_bool(JsonWriter& w, std::string_view key, bool value);

// A unit enum: its variant's name as a string.
void json_unit_variant(JsonWriter& w, std::string_view name);
// Opens the object of a tagged enum with its "kind" member. An internally tagged variant
// goes on with its members; an adjacently tagged one with `json_content` and its content,
// or with nothing when it has no data. `json_end_object` closes it.
void json_begin_tagged(JsonWriter& w, std::string_view variant);
void json_content(JsonWriter& w);

template <class T, class WriteItem>
void json_list(JsonWriter& w, const std::vector<T>& items, WriteItem write_item) {
  json_begin_list(w);
  for (const T& item : items) {
    json_item(w);
    write_item(w, item);
  }
  json_end_list(w);
}

template <class T, class WriteItem>
void json_member_list(JsonWriter& w, std::string_view key, const std::vector<T>& items, WriteItem write_item) {
  json_key(w, key);
  json_list(w, items, write_item);
}

template <class T, class WriteValue>
void json_optional(JsonWriter& w, const std::optional<T>& value, WriteValue write_value) {
  if (!value) return json_null(w);
  write_value(w, *value);
}

// The finished document, or the writer's first failure.
std::variant<std::string, JsonWriteError> json_finish(JsonWriter&& w);

// Hands the rest of the text to the sink; false when the writer failed or the sink did.
bool json_finish_to_sink(JsonWriter& w);

}  // namespace ovm::ir
