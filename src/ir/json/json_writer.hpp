#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ir/json/json_keys.hpp"
#include "ir/json/json_number.hpp"

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
  // Bytes [0, used) of the text are written, the rest is room for what follows. The room is
  // made a little at a time, as it is filled, so that it is cleared while in the cache.
  std::string text;
  std::size_t used = 0;
  std::vector<std::uint8_t> filled;  // one per open object or list: whether it holds an entry yet
  std::optional<JsonWriteError> error;  // the first failure; the text is then worthless
  // Where the text goes piece by piece, when set: the text then holds only what is not
  // handed over yet. Returns false when it could not take a piece.
  std::function<bool(std::string_view)> sink{};
  bool sink_failed = false;
};

// The steps every value takes, inline where the values are written: most are a few bytes.
namespace json_writer_detail {

// A piece is handed to the sink once this many bytes are written.
inline constexpr std::size_t piece_size = std::size_t{1} << 20;

char* grow(JsonWriter& w, std::size_t bytes);
void hand_over(JsonWriter& w);
void deep_new_line(JsonWriter& w, bool comma);
void escaped_key(JsonWriter& w, std::string_view key);

// Room for `bytes` more bytes at the end of the written text.
inline char* room(JsonWriter& w, std::size_t bytes) {
  if (w.text.size() - w.used < bytes) [[unlikely]] return grow(w, bytes);
  return w.text.data() + w.used;
}

inline void put(JsonWriter& w, std::string_view text) {
  std::memcpy(room(w, text.size()), text.data(), text.size());
  w.used += text.size();
}

inline void put(JsonWriter& w, char c) {
  *room(w, 1) = c;
  ++w.used;
}

// ",\n" and the indent of 31 levels, two blanks each: a line break and indent of up to that
// depth are one copy of fixed size, of which only the start counts.
inline constexpr char separator_and_indent[] =
    ",\n" "                                                               ";
inline constexpr std::size_t short_line = 64;
static_assert(sizeof separator_and_indent == short_line + 2);

// The line break (after a comma when `comma`) and the indent of the open containers.
inline void new_line(JsonWriter& w, bool comma) {
  std::size_t head = comma ? 2 : 1;
  std::size_t length = head + 2 * w.filled.size();
  if (length > short_line) [[unlikely]] return deep_new_line(w, comma);
  std::memcpy(room(w, short_line), separator_and_indent + 2 - head, short_line);
  w.used += length;
}

// The separator and indent before a member or element of the innermost open container.
// Between entries the text so far is finished, so it can go to the sink once it is a piece.
inline void begin_entry(JsonWriter& w) {
  if (w.used >= piece_size && w.sink) [[unlikely]] hand_over(w);
  if (w.filled.empty()) return;
  bool comma = w.filled.back();
  w.filled.back() = 1;
  new_line(w, comma);
}

// Closes the innermost open container, on a line of its own when it holds entries.
inline void close(JsonWriter& w, char bracket) {
  bool had_entries = !w.filled.empty() && w.filled.back();
  if (!w.filled.empty()) w.filled.pop_back();
  if (had_entries) new_line(w, false);
  put(w, bracket);
}

// Printable ASCII other than the quote and the backslash: a byte that needs neither an
// escape nor a UTF-8 check.
constexpr bool plain_byte(char c) { return c >= 0x20 && c <= 0x7E && c != '"' && c != '\\'; }

// A key of plain bytes goes in as it is.
constexpr bool plain_key(std::string_view key) {
  for (char c : key) {
    if (!plain_byte(c)) return false;
  }
  return true;
}

// The key in quotes and ": ", or its escaped form when it is not plain.
inline void put_key(JsonWriter& w, std::string_view key) {
  if (!plain_key(key)) [[unlikely]] return escaped_key(w, key);
  char* at = room(w, key.size() + 4);
  *at = '"';
  std::memcpy(at + 1, key.data(), key.size());
  std::memcpy(at + 1 + key.size(), "\": ", 3);
  w.used += key.size() + 4;
}

}  // namespace json_writer_detail

inline void json_begin_object(JsonWriter& w) {
  json_writer_detail::put(w, '{');
  w.filled.push_back(0);
}
inline void json_end_object(JsonWriter& w) { json_writer_detail::close(w, '}'); }
inline void json_begin_list(JsonWriter& w) {
  json_writer_detail::put(w, '[');
  w.filled.push_back(0);
}
inline void json_end_list(JsonWriter& w) { json_writer_detail::close(w, ']'); }

// Starts a member of the open object: its key and ": "; the member's value follows. A key
// written as a literal is checked where it is written, which the compiler does beforehand.
inline void json_key(JsonWriter& w, std::string_view key) {
  json_writer_detail::begin_entry(w);
  json_writer_detail::put_key(w, key);
}
template <std::size_t N>
void json_key(JsonWriter& w, const char (&key)[N]) {
  json_key(w, std::string_view(key));
}
// Starts an element of the open list; the element's value follows.
inline void json_item(JsonWriter& w) { json_writer_detail::begin_entry(w); }

inline void json_null(JsonWriter& w) { json_writer_detail::put(w, "null"); }
inline void json_bool(JsonWriter& w, bool value) { json_writer_detail::put(w, value ? "true" : "false"); }
inline void json_unsigned(JsonWriter& w, std::uint64_t value) {
  char* at = json_writer_detail::room(w, json_unsigned_bound);
  w.used += static_cast<std::size_t>(write_json_unsigned(at, value) - at);
}
// `null` when not finite.
inline void json_double(JsonWriter& w, double value) {
  char* at = json_writer_detail::room(w, json_number_bound);
  w.used += static_cast<std::size_t>(write_json_number(at, value) - at);
}
namespace json_writer_detail {
void checked_string(JsonWriter& w, std::string_view text);
}  // namespace json_writer_detail
// Fails the writer when the text is not UTF-8, which no JSON document may hold. Text of
// printable ASCII without a quote or backslash, as most are, goes in as it is, checked on the
// way; any other is checked and escaped from the start.
inline void json_string(JsonWriter& w, std::string_view text) {
  char* at = json_writer_detail::room(w, text.size() + 2);
  *at = '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (!json_writer_detail::plain_byte(c)) [[unlikely]] return json_writer_detail::checked_string(w, text);
    at[i + 1] = c;
  }
  at[text.size() + 1] = '"';
  w.used += text.size() + 2;
}

inline void json_optional_string(JsonWriter& w, const std::optional<std::string>& text) {
  if (!text) return json_null(w);
  json_string(w, *text);
}
inline void json_optional_double(JsonWriter& w, const std::optional<double>& value) {
  if (!value) return json_null(w);
  json_double(w, *value);
}
inline void json_optional_unsigned(JsonWriter& w, const std::optional<std::uint64_t>& value) {
  if (!value) return json_null(w);
  json_unsigned(w, *value);
}

// A member and its value in one: the key (a literal or a string_view), then the value as the
// functions above write it.
template <class Key>
void json_member_string(JsonWriter& w, const Key& key, std::string_view text) { json_key(w, key), json_string(w, text); }
template <class Key>
void json_member_optional_string(JsonWriter& w, const Key& key, const std::optional<std::string>& text) { json_key(w, key), json_optional_string(w, text); }
template <class Key>
void json_member_double(JsonWriter& w, const Key& key, double value) { json_key(w, key), json_double(w, value); }
template <class Key>
void json_member_optional_double(JsonWriter& w, const Key& key, const std::optional<double>& value) { json_key(w, key), json_optional_double(w, value); }
template <class Key>
void json_member_unsigned(JsonWriter& w, const Key& key, std::uint64_t value) { json_key(w, key), json_unsigned(w, value); }
template <class Key>
void json_member_optional_unsigned(JsonWriter& w, const Key& key, const std::optional<std::uint64_t>& value) { json_key(w, key), json_optional_unsigned(w, value); }
template <class Key>
void json_member_bool(JsonWriter& w, const Key& key, bool value) { json_key(w, key), json_bool(w, value); }

// A unit enum: its variant's name as a string.
inline void json_unit_variant(JsonWriter& w, std::string_view name) { json_string(w, name); }
// Opens the object of a tagged enum with its "kind" member. An internally tagged variant
// goes on with its members; an adjacently tagged one with `json_content` and its content,
// or with nothing when it has no data. `json_end_object` closes it.
inline void json_begin_tagged(JsonWriter& w, std::string_view variant) {
  json_begin_object(w);
  json_key(w, json_tag_key);
  json_string(w, variant);
}
inline void json_content(JsonWriter& w) { json_key(w, json_content_key); }

template <class T, class WriteItem>
void json_list(JsonWriter& w, const std::vector<T>& items, WriteItem write_item) {
  json_begin_list(w);
  for (const T& item : items) {
    json_item(w);
    write_item(w, item);
  }
  json_end_list(w);
}

template <class Key, class T, class WriteItem>
void json_member_list(JsonWriter& w, const Key& key, const std::vector<T>& items, WriteItem write_item) {
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
