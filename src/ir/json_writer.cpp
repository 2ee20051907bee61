#include "ir/json_writer.hpp"

#include <algorithm>
#include <cstring>

#include "diagnostics/utf8.hpp"
#include "ir/json_number.hpp"
#include "ir/json_string.hpp"

namespace ovm::ir {
namespace {

constexpr std::size_t piece_size = std::size_t{1} << 20;

// Room for `bytes` more bytes at the end of the written text: the buffer grows by doubling,
// so bytes go in with a copy and no check of their own.
char* room(JsonWriter& w, std::size_t bytes) {
  if (w.text.size() - w.used < bytes) w.text.resize(std::max(2 * w.text.size(), w.used + bytes + 4096));
  return w.text.data() + w.used;
}

void put(JsonWriter& w, std::string_view text) {
  std::memcpy(room(w, text.size()), text.data(), text.size());
  w.used += text.size();
}

void put(JsonWriter& w, char c) {
  *room(w, 1) = c;
  ++w.used;
}

void hand_over(JsonWriter& w) {
  if (!w.sink_failed && !w.sink(std::string_view(w.text.data(), w.used))) w.sink_failed = true;
  w.used = 0;
}

// Between entries the text so far is finished, so it can go to the sink once it is a piece.
void flush_piece(JsonWriter& w) {
  if (w.sink && w.used >= piece_size) hand_over(w);
}

// ",\n" and then the indent of many levels, two blanks each: a line break and indent are one
// append of a part of it.
constexpr std::string_view separator_and_indent =
    ",\n                                                                "
    "                                                                ";
constexpr std::size_t indent_unit = 2;
static_assert(separator_and_indent.size() == 2 + 128 &&
              separator_and_indent.find_first_not_of(' ', 2) == std::string_view::npos);

// The line break (after a comma when `comma`) and the indent of the open containers.
void new_line(JsonWriter& w, bool comma) {
  std::size_t spaces = w.filled.size() * indent_unit;
  std::string_view line = separator_and_indent.substr(comma ? 0 : 1);
  std::size_t head = line.size() - separator_and_indent.size() + 2;  // the comma and the break
  constexpr std::size_t short_line = 64;
  if (head + spaces <= short_line) {
    // A copy of fixed size compiles to a few stores; only its start counts.
    std::memcpy(room(w, short_line), line.data(), short_line);
    w.used += head + spaces;
    return;
  }
  while (head + spaces > line.size()) {  // deeper than the prepared text reaches
    put(w, line);
    spaces -= line.size() - head;
    line = separator_and_indent.substr(2);
    head = 0;
  }
  put(w, line.substr(0, head + spaces));
}

// The separator and indent before a member or element of the innermost open container.
void begin_entry(JsonWriter& w) {
  flush_piece(w);
  if (w.filled.empty()) return;
  bool comma = w.filled.back();
  w.filled.back() = 1;
  new_line(w, comma);
}

void close(JsonWriter& w, char bracket) {
  bool had_entries = !w.filled.empty() && w.filled.back();
  if (!w.filled.empty()) w.filled.pop_back();
  if (had_entries) new_line(w, false);
  put(w, bracket);
}

// Copies a key of printable ASCII without a quote or backslash, which needs neither an escape
// nor a check, with its quotes and ": " after it; false, having written nothing, for any other.
// Byte by byte: keys are short, and the check and the copy are one pass.
bool put_plain_key(JsonWriter& w, std::string_view key) {
  char* at = room(w, key.size() + 4);
  *at = '"';
  for (std::size_t i = 0; i < key.size(); ++i) {
    char c = key[i];
    if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') return false;
    at[i + 1] = c;
  }
  std::memcpy(at + 1 + key.size(), "\": ", 3);
  w.used += key.size() + 4;
  return true;
}

}  // namespace

void json_begin_object(JsonWriter& w) {
  put(w, '{');
  w.filled.push_back(0);
}

void json_end_object(JsonWriter& w) { close(w, '}'); }

void json_begin_list(JsonWriter& w) {
  put(w, '[');
  w.filled.push_back(0);
}

void json_end_list(JsonWriter& w) { close(w, ']'); }

void json_key(JsonWriter& w, std::string_view key) {
  begin_entry(w);
  if (put_plain_key(w, key)) return;
  json_string(w, key);
  put(w, ": ");
}

void json_item(JsonWriter& w) { begin_entry(w); }

void json_null(JsonWriter& w) { put(w, "null"); }

void json_bool(JsonWriter& w, bool value) { put(w, value ? "true" : "false"); }

void json_unsigned(JsonWriter& w, std::uint64_t value) {
  w.used = static_cast<std::size_t>(write_json_unsigned(room(w, json_unsigned_bound), value) - w.text.data());
}

void json_double(JsonWriter& w, double value) {
  w.used = static_cast<std::size_t>(write_json_number(room(w, json_number_bound), value) - w.text.data());
}

namespace {

bool is_ascii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

void json_string(JsonWriter& w, std::string_view text) {
  // ASCII is UTF-8: only other text needs the full check.
  if (!w.error && !is_ascii(text) && !diagnostics::is_valid_utf8(text)) {
    w.error = JsonWriteError{"a string is not valid UTF-8"};
  }
  w.used = static_cast<std::size_t>(write_json_string(room(w, json_string_bound(text.size())), text) - w.text.data());
}

void json_optional_string(JsonWriter& w, const std::optional<std::string>& text) {
  if (!text) return json_null(w);
  json_string(w, *text);
}

void json_optional_double(JsonWriter& w, const std::optional<double>& value) {
  if (!value) return json_null(w);
  json_double(w, *value);
}

void json_optional_unsigned(JsonWriter& w, const std::optional<std::uint64_t>& value) {
  if (!value) return json_null(w);
  json_unsigned(w, *value);
}

void json_member_string(JsonWriter& w, std::string_view key, std::string_view text) {
  json_key(w, key);
  json_string(w, text);
}

void json_member_optional_string(JsonWriter& w, std::string_view key, const std::optional<std::string>& text) {
  json_key(w, key);
  json_optional_string(w, text);
}

void json_member_double(JsonWriter& w, std::string_view key, double value) {
  json_key(w, key);
  json_double(w, value);
}

void json_member_optional_double(JsonWriter& w, std::string_view key, const std::optional<double>& value) {
  json_key(w, key);
  json_optional_double(w, value);
}

void json_member_unsigned(JsonWriter& w, std::string_view key, std::uint64_t value) {
  json_key(w, key);
  json_unsigned(w, value);
}

void json_member_optional_unsigned(JsonWriter& w, std::string_view key, const std::optional<std::uint64_t>& value) {
  json_key(w, key);
  json_optional_unsigned(w, value);
}

void json_member_bool(JsonWriter& w, std::string_view key, bool value) {
  json_key(w, key);
  json_bool(w, value);
}

void json_unit_variant(JsonWriter& w, std::string_view name) { json_string(w, name); }

void json_begin_tagged(JsonWriter& w, std::string_view variant) {
  json_begin_object(w);
  json_key(w, json_tag_key);
  json_string(w, variant);
}

void json_content(JsonWriter& w) { json_key(w, json_content_key); }

std::variant<std::string, JsonWriteError> json_finish(JsonWriter&& w) {
  if (w.error) return *w.error;
  w.text.resize(w.used);
  return std::move(w.text);
}

bool json_finish_to_sink(JsonWriter& w) {
  if (w.error) return false;
  hand_over(w);
  return !w.sink_failed;
}

}  // namespace ovm::ir
