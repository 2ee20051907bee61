#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "ir/json/json_callback.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_kept.hpp"

namespace ovm::ir {

// At most this many arrays and objects, less one, may be open at once in a document.
inline constexpr int json_nesting_budget = 128;

// The text of one JSON document, the number of bytes read so far and the nesting budget left.
// The functions below are the RFC 8259 tokenizer; the value readers build on them.
struct JsonReader {
  std::string_view text;
  std::size_t pos = 0;
  int budget = json_nesting_budget;
  bool object_rest = false;  // the next value is the rest of an object (see `object_rest_input`)
};

// An error placed at the last byte read (column 0 when none of its line was read yet).
JsonError error_here(const JsonReader& r, std::string message);
// An error placed at the next byte, the offending one (the last byte at the end of the text).
JsonError error_at_next(const JsonReader& r, std::string message);
// Places an error found in a kept value where reading stands; a placed one stays as it is.
JsonError place_error(const JsonReader& r, JsonError error);
// Places an error that arose inside the container that `closer` ends: after white space and
// that closing bracket when they come next, as a reader that gives up reads to its end.
JsonError place_error_at_close(JsonReader& r, JsonError error, char closer);

// Skips space, tab, LF and CR and returns the next byte, or none at the end of the text.
// The next byte is most often a value's or a separator's, or one blank before it, as the
// writer lays the text out: those are looked at inline.
std::optional<char> next_byte_after_white_space(JsonReader& r);
inline std::optional<char> next_byte(JsonReader& r) {
  std::size_t at = r.pos;
  if (at < r.text.size() && r.text[at] == ' ') ++at;
  if (at < r.text.size() && r.text[at] > ' ') {  // printable ASCII: not white space
    r.pos = at;
    return r.text[at];
  }
  return next_byte_after_white_space(r);
}

// Reads the next value when it is a scalar; for an array or an object only notes its kind and
// leaves its bracket unread.
[[nodiscard]] JsonStatus take_scalar(JsonReader& r, KeptValue& out);

// The scalars with contents, read where the next value starts (at the byte next_byte gave):
// a string at its quote, unescaped into `out`; a number at its minus sign or first digit, with
// its kind (Unsigned, Negative or Float). A reader that expects one of them reads it so, with
// no kept value between.
inline bool starts_number(char c) { return c == '-' || (c >= '0' && c <= '9'); }
[[nodiscard]] JsonStatus take_string_at(JsonReader& r, std::string& out);
// A string at its quote as a view of the text when it has no escapes, else unescaped into
// `unescaped`, which `out` then views.
[[nodiscard]] JsonStatus take_string_view_at(JsonReader& r, std::string& unescaped, std::string_view& out);
[[nodiscard]] JsonStatus take_number_at(JsonReader& r, JsonNumber& out, JsonKind& kind);
// A `null` at its first letter.
[[nodiscard]] JsonStatus take_null_at(JsonReader& r);
// The same, leaving `out.text` as it was, for a reader that needs the text only for a message.
[[nodiscard]] JsonStatus take_number_value_at(JsonReader& r, JsonNumber& out, JsonKind& kind);

// Takes one from the nesting budget and reads the bracket at the reader's position; fails at
// that bracket when the budget is spent.
[[nodiscard]] JsonStatus open_container(JsonReader& r);
// Reads the closing bracket at the reader's position and gives the budget back.
void close_container(JsonReader& r);

// Whether two names, as keys and variant names are, are the same. Names of up to 16 bytes, as
// the files' are, are compared inline as two words that overlap, or the three bytes that make
// up a shorter one, with no loop whose end depends on the length.
inline bool same_name(std::string_view a, std::string_view b) {
  std::size_t n = a.size();
  if (n != b.size()) return false;
  auto same_bytes = [&](std::size_t at, auto word) {
    decltype(word) x = 0;
    decltype(word) y = 0;
    std::memcpy(&x, a.data() + at, sizeof x);
    std::memcpy(&y, b.data() + at, sizeof y);
    return x == y;
  };
  if (n > 16) return std::memcmp(a.data(), b.data(), n) == 0;
  if (n >= 8) return same_bytes(0, std::uint64_t{}) && same_bytes(n - 8, std::uint64_t{});
  if (n >= 4) return same_bytes(0, std::uint32_t{}) && same_bytes(n - 4, std::uint32_t{});
  return n == 0 || (a[0] == b[0] && a[n / 2] == b[n / 2] && a[n - 1] == b[n - 1]);
}

// The key of an object's member: a view of its bytes in the text, or of `unescaped` when it
// has escapes; none at the object's end.
struct JsonKey {
  std::optional<std::string_view> text;
  std::string unescaped;
};

// Steps to the next member of an open object and reads its key; at the object's end reads the
// closing brace, gives the budget back and leaves the key's text empty. `first` tracks the commas.
// `expected` is the key that most likely comes (a name without quotes, backslashes or control
// bytes, as the records' are), which is then only compared with the text.
[[nodiscard]] JsonStatus next_member(JsonReader& r, bool& first, JsonKey& key, std::string_view expected = {});
// Reads the colon between a key and its value.
// The writer puts the colon right after the key, which is looked at inline.
[[nodiscard]] JsonStatus member_colon_after_white_space(JsonReader& r);
[[nodiscard]] inline JsonStatus member_colon(JsonReader& r) {
  if (r.pos < r.text.size() && r.text[r.pos] == ':') {
    ++r.pos;
    return std::nullopt;
  }
  return member_colon_after_white_space(r);
}
// Steps to the next element of an open array; at the array's end reads the closing bracket,
// gives the budget back and sets `more` to false.
[[nodiscard]] JsonStatus next_element(JsonReader& r, bool& first, bool& more);

// Reads the rest of an open array, each element by `read_element` (which reads exactly one
// value), through its closing bracket. `first` says whether no element was read yet.
[[nodiscard]] JsonStatus read_array_rest(JsonReader& r, bool first, const JsonCallback<JsonStatus()>& read_element);

// Reads one whole value into a kept value, or past it when `out` is null; its arrays and
// objects count against the nesting budget either way.
[[nodiscard]] JsonStatus keep_value(JsonReader& r, KeptValue* out);

}  // namespace ovm::ir
