#include "ir/json/json_writer.hpp"

#include <algorithm>
#include <cstring>

#include "diagnostics/utf8.hpp"
#include "ir/json/json_string.hpp"

namespace ovm::ir {
namespace json_writer_detail {

// The text's capacity grows by doubling, and its size by a step of room at a time.
char* grow(JsonWriter& w, std::size_t bytes) {
  constexpr std::size_t step = std::size_t{64} << 10;
  std::size_t needed = w.used + bytes;
  if (needed > w.text.capacity()) w.text.reserve(std::max(4 * w.text.capacity(), needed + step));
  w.text.resize(std::min(w.text.capacity(), std::max(needed, w.used + step)));
  return w.text.data() + w.used;
}

void hand_over(JsonWriter& w) {
  if (!w.sink_failed && !w.sink(std::string_view(w.text.data(), w.used))) w.sink_failed = true;
  w.used = 0;
}

// Deeper than the prepared text reaches: the line break, then the indent in parts of it.
void deep_new_line(JsonWriter& w, bool comma) {
  put(w, comma ? ",\n" : "\n");
  constexpr std::string_view blanks(separator_and_indent + 2, sizeof separator_and_indent - 3);
  for (std::size_t spaces = 2 * w.filled.size(); spaces > 0;) {
    std::size_t part = std::min(spaces, blanks.size());
    put(w, blanks.substr(0, part));
    spaces -= part;
  }
}

void escaped_key(JsonWriter& w, std::string_view key) {
  checked_string(w, key);
  put(w, ": ");
}

}  // namespace json_writer_detail

namespace {

bool is_ascii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

void json_writer_detail::checked_string(JsonWriter& w, std::string_view text) {
  // ASCII is UTF-8: only other text needs the full check.
  if (!w.error && !is_ascii(text) && !diagnostics::is_valid_utf8(text)) {
    w.error = JsonWriteError{"a string is not valid UTF-8"};
  }
  char* at = json_writer_detail::room(w, json_string_bound(text.size()));
  w.used += static_cast<std::size_t>(write_json_string(at, text) - at);
}

std::variant<std::string, JsonWriteError> json_finish(JsonWriter&& w) {
  if (w.error) return *w.error;
  w.text.resize(w.used);
  return std::move(w.text);
}

bool json_finish_to_sink(JsonWriter& w) {
  if (w.error) return false;
  json_writer_detail::hand_over(w);
  return !w.sink_failed;
}

}  // namespace ovm::ir
